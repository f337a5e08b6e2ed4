#!/usr/bin/env bash
# File transfer benchmark under Wine: a 4 MiB random file by YMODEM over a
# socat pty pair, first lrzsz against lrzsz (sb -k to rb: 1 KiB blocks, as
# ours), then olvex's window sending to rb and receiving from sb -k, in rounds.
# Prints each time, the longest Timer1 tick, and the ratios of the fastest and
# of the median runs: rb flushes its input after every ACK and its output as
# it exits, and a block or an ACK caught by a flush costs a run 1 to 6 s.
# Usage: bench/xfer/run.sh [build dir] [megabytes] [rounds]   (build the Windows preset first)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
build=$(cd "${1:-$root/build/$OLVEX_WINE_TARGET}" && pwd)
mb=${2:-4}
rounds=${3:-5}
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

# The time is rb's: sb may wait a minute for an ACK that rb's exit flush ate,
# after rb has kept the whole file.
lrzsz() {   # lrzsz OPTIONS FILE: sb OPTIONS on one end, rb on the other; prints seconds
  drain "$a"; drain "$b"; rm -f "$work/out/"*
  local t0 t1; t0=$(now)
  (cd "$work" && sb $1 -b "$2" <"$a" >"$a" 2>/dev/null) &
  local sb=$!
  (cd "$work/out" && rb -b -y <"$b" >"$b" 2>/dev/null)
  t1=$(now)
  for _ in $(seq 40); do kill -0 $sb 2>/dev/null || break; sleep 0.05; done
  if kill -0 $sb 2>/dev/null; then echo "(sb still waited for rb's last ACK)" >&2; pkill -P $sb; kill $sb 2>/dev/null; fi
  wait $sb 2>/dev/null
  cmp -s "$2" "$work/out/$(basename "$2")" || { echo "lrzsz copy DIFFERENT" >&2; exit 1; }
  echo "$t1 - $t0" | bc
}

# The middle value (or the lower of the two middle ones) and the smallest.
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
fastest() { sort -n | head -1; }
ratio() { printf '%.2f' "$(echo "scale=4; $1 / $2" | bc)"; }
bases=() sends=() rbs=() recvs=()
for round in $(seq "$rounds"); do
  echo "round $round"
  base=$(lrzsz -k "$work/f.bin")
  echo "lrzsz sb -k -> rb, $mb MiB: $base s"
  bases+=("$base")

  # rb starts once the send has started, as it does against sb: its first 'C'
  # would otherwise go out while Wine starts and the send would wait for a repeat.
  # The start is looked for every 5 ms: rb's own start is inside the send's time.
  drain "$a"; drain "$b"; rm -f "$work/out/"* "$work/send.out"
  "$OLVEX_WINE" "$build/bin/bench_xfer.exe" 5 send "$(wine_path_of "$work/f.bin")" >"$work/send.out" 2>/dev/null &
  near=$!
  for _ in $(seq 6000); do grep -q started "$work/send.out" 2>/dev/null && break; sleep 0.005; done
  t0=$(now)
  (cd "$work/out" && rb -b -y <"$b" >"$b" 2>/dev/null) &
  far=$!
  wait $far
  rb_done=$(echo "$(now) - $t0" | bc)
  wait $near
  out=$(tr -d '\r' <"$work/send.out" | grep -v '^started')
  echo "$out"
  sends+=("$(echo "$out" | sed -n 's/^send \([0-9.]*\) s.*/\1/p')")
  echo "rb had the file after $rb_done s"
  rbs+=("$rb_done")
  cmp -s "$work/f.bin" "$work/out/f.bin" && echo "rb's copy equal" || echo "rb's copy DIFFERENT"

  drain "$a"; drain "$b"; rm -f "$work/in/"*
  (cd "$work" && sleep 1 && sb -k -b f.bin <"$b" >"$b" 2>/dev/null) &
  far=$!
  out=$("$OLVEX_WINE" "$build/bin/bench_xfer.exe" 5 receive "$(wine_path_of "$work/in")\\" 2>/dev/null | tr -d '\r' | grep -v '^started')
  wait $far
  echo "$out"
  recv=$(echo "$out" | sed -n 's/^receive \([0-9.]*\) s.*/\1/p')
  recvs+=("$(echo "$recv - 1" | bc)")  # less sb's own 1 s start delay
  cmp -s "$work/f.bin" "$work/in/f.bin" && echo "received copy equal" || echo "received copy DIFFERENT"
done
for kind in fastest median; do
  l=$(printf '%s\n' "${bases[@]}" | $kind) s=$(printf '%s\n' "${sends[@]}" | $kind)
  f=$(printf '%s\n' "${rbs[@]}" | $kind) r=$(printf '%s\n' "${recvs[@]}" | $kind)
  echo "$kind of $rounds: lrzsz $l s, send $s s (rb had the file after $f s), receive $r s (less sb's 1 s start delay)"
  echo "  ratio send/lrzsz $(ratio "$s" "$l") (by rb's end, as lrzsz is timed: $(ratio "$f" "$l")), receive/lrzsz $(ratio "$r" "$l")"
done
