#!/usr/bin/env bash
# File transfer benchmark under Wine: a 4 MiB random file by YMODEM over a
# socat pty pair, first lrzsz against lrzsz (sb -k to rb: 1 KiB blocks, as
# ours), then olvex's window sending to rb and receiving from sb -k. Prints each time, the ratios and the longest Timer1 tick.
# Usage: bench/xfer/run.sh [build dir] [megabytes]   (build the Windows preset first)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
build=$(cd "${1:-$root/build/$OLVEX_WINE_TARGET}" && pwd)
mb=${2:-4}
work=${BENCH_DIR:-/tmp/olvex-bench-xfer}
rm -rf "$work" && mkdir -p "$work/out" "$work/in"
head -c $((mb * 1048576)) /dev/urandom >"$work/f.bin"
xvfb_start
pty_pair "$work/pty" 5 6 2>/dev/null
trap 'pty_pair_stop; xvfb_stop' EXIT
a=$(readlink -f "$work/pty/a") b=$(readlink -f "$work/pty/b")
now() { date +%s.%N; }
wine_path_of() { echo "Z:$(echo "$1" | tr / '\\')"; }
drain() { timeout 0.3 cat <"$1" >/dev/null || true; }

lrzsz() {   # lrzsz OPTIONS FILE: sb OPTIONS on one end, rb on the other; prints seconds
  drain "$a"; drain "$b"; rm -f "$work/out/"*
  local t0; t0=$(now)
  (cd "$work/out" && rb -b -y <"$b" >"$b" 2>/dev/null) &
  local rb=$!
  (cd "$work" && sb $1 -b "$2" <"$a" >"$a" 2>/dev/null)
  wait $rb
  cmp -s "$2" "$work/out/$(basename "$2")" || { echo "lrzsz copy DIFFERENT" >&2; exit 1; }
  echo "$(now) - $t0" | bc
}
base=$(lrzsz -k "$work/f.bin")
echo "lrzsz sb -k -> rb, $mb MiB: $base s"

# rb starts once the send has started, as it does against sb: its first 'C'
# would otherwise go out while Wine starts and the send would wait for a repeat.
drain "$a"; drain "$b"; rm -f "$work/out/"* "$work/send.out"
"$OLVEX_WINE" "$build/bin/bench_xfer.exe" 5 send "$(wine_path_of "$work/f.bin")" >"$work/send.out" 2>/dev/null &
near=$!
for _ in $(seq 600); do grep -q started "$work/send.out" 2>/dev/null && break; sleep 0.05; done
(cd "$work/out" && rb -b -y <"$b" >"$b" 2>/dev/null) &
far=$!
wait $near
wait $far
out=$(tr -d '\r' <"$work/send.out")
echo "$out"
send=$(echo "$out" | sed -n 's/^send \([0-9.]*\) s.*/\1/p')
cmp -s "$work/f.bin" "$work/out/f.bin" && echo "rb's copy equal" || echo "rb's copy DIFFERENT"

drain "$a"; drain "$b"
(cd "$work" && sleep 1 && sb -k -b f.bin <"$b" >"$b" 2>/dev/null) &
far=$!
out=$("$OLVEX_WINE" "$build/bin/bench_xfer.exe" 5 receive "$(wine_path_of "$work/in")\\" 2>/dev/null | tr -d '\r')
wait $far
echo "$out"
recv=$(echo "$out" | sed -n 's/^receive \([0-9.]*\) s.*/\1/p')
cmp -s "$work/f.bin" "$work/in/f.bin" && echo "received copy equal" || echo "received copy DIFFERENT"
echo "ratio send/lrzsz $(echo "scale=2; $send / $base" | bc), receive/lrzsz $(echo "scale=2; ($recv - 1) / $base" | bc) (receive less sb's 1 s start delay)"
