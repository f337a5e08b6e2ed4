#!/usr/bin/env bash
# Receive benchmark under Wine: a native peer writes a file as fast as it can into
# one end of a socat pty pair; the other end (COM5 to Wine) is read by `head -c`
# (plain cat), by a bare Win32 poll-and-read loop, and by the terminal's own
# receive thread with a consumer draining the receive FIFO. Prints MB/s, ratios
# and a sha256 check per reader. Builds nothing: build the
# win32 (or win64) preset first.
#
# Usage: bench/rx/run.sh [build dir] [megabytes] [receive thread pause ms]
#   ROUNDS=n (default 3) runs the three readers n times, interleaved, and
#   compares their medians, since other load on the machine moves single runs.
#   The build dir defaults to the Windows build this machine can run
#   (build/win32, or build/win64 where the kernel runs no 32-bit code).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
build=$(cd "${1:-$root/build/$OLVEX_WINE_TARGET}" && pwd)
mb=${2:-200}
pause=${3:-1}
bytes=$((mb * 1048576))
work=${BENCH_DIR:-/tmp/olvex-bench-rx}
mkdir -p "$work"

src=$work/source.bin
if [ ! -f "$src" ] || [ "$(stat -c %s "$src")" -ne "$bytes" ]; then
  head -c "$bytes" /dev/urandom >"$src"
fi
want=$(sha256sum <"$src" | cut -d' ' -f1)

# The pair: COM5 is the readers' end, the writer writes into the other one.
pty_pair "$work/pty" 5 6 2>/dev/null
trap 'pty_pair_stop' EXIT
reader_tty=$(readlink -f "$work/pty/a")
writer_tty=$(readlink -f "$work/pty/b")

now() { date +%s.%N; }

# run_reader LABEL KIND: starts the reader, waits until it is ready, starts the
# writer, waits for the reader and records MB/s and the sha256 verdict.
declare -A rates
lost=0
run_reader() {
  local label=$1 kind=$2 out=$work/out-$2.bin log=$work/log-$2.txt t0 t1 pid
  rm -f "$out" "$log"
  case $kind in
    cat)
      stty -F "$reader_tty" raw -echo
      head -c "$bytes" "$reader_tty" >"$out" 2>"$log" &
      pid=$!
      sleep 0.3 ;;
    bare|link)
      local exe=$build/bin/bench_rx_$kind.exe args=()
      [ $kind = link ] && args=("$pause")
      timeout 600 "$OLVEX_WINE" "$exe" 5 "$bytes" "Z:$out" "${args[@]}" >"$log" 2>&1 &
      pid=$!
      for _ in $(seq 300); do grep -q '^ready' "$log" 2>/dev/null && break; sleep 0.1; done
      if ! grep -q '^ready' "$log"; then echo "$label: did not start:"; cat "$log"; return 1; fi ;;
  esac
  t0=$(now)
  cat "$src" >"$writer_tty" &
  local wpid=$!
  if ! wait $pid; then echo "$label: failed:"; cat "$log"; kill $wpid 2>/dev/null; return 1; fi
  t1=$(now)
  wait $wpid || true
  # The Windows readers report when their last byte arrived, leaving out Wine's exit.
  if [ "$kind" != cat ]; then t1=$(sed -nE 's/^bytes .* last ([0-9.]+).*/\1/p' "$log"); fi
  local got verdict
  got=$(sha256sum <"$out" | cut -d' ' -f1)
  [ "$got" = "$want" ] && verdict="sha256 ok" || verdict="sha256 MISMATCH ($(stat -c %s "$out") bytes)"
  [ "$got" = "$want" ] || lost=1
  local r
  r=$(awk -v b="$bytes" -v a="$t0" -v z="$t1" 'BEGIN { printf "%.2f", b / 1048576 / (z - a) }')
  rates[$kind]+="$r "
  printf '  %-38s %8s MB/s   %s\n' "$label" "$r" "$verdict"
  rm -f "$out"
}

median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

rounds=${ROUNDS:-3}
kinds=(cat bare)
[ -e "$build/bin/bench_rx_link.exe" ] && kinds+=(link)
declare -A label=([cat]="cat (head -c on the pty)" [bare]="bare Win32 poll-and-read loop"
                  [link]="receive thread + FIFO (pause ${pause} ms)")
echo "receive benchmark: $mb MB from a native peer through a socat pty pair, $rounds rounds"
for round in $(seq "$rounds"); do
  echo "round $round:"
  for k in "${kinds[@]}"; do run_reader "${label[$k]}" "$k" || lost=1; done
done
echo "medians:"
declare -A med
for k in "${kinds[@]}"; do
  med[$k]=$(median "${rates[$k]:-0}")
  printf '  %-38s %8s MB/s\n' "${label[$k]}" "${med[$k]}"
done
echo "bare loop / cat:        $(ratio "${med[bare]}" "${med[cat]}")"
if [ -n "${med[link]:-}" ]; then
  echo "receive thread / bare:  $(ratio "${med[link]}" "${med[bare]}")   (target >= 0.90)"
  echo "receive thread / cat:   $(ratio "${med[link]}" "${med[cat]}")"
fi
[ $lost -eq 0 ] && echo "sha256: every byte arrived in every run" || { echo "sha256: DATA LOST OR CHANGED"; exit 1; }
