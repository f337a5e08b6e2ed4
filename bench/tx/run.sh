#!/usr/bin/env bash
# Send benchmarks under Wine on a socat pty pair (COM5 <-> the reader's end):
# 1. a file through the send-file window against a bare WriteFile loop, read
#    on the far end as fast as a reader can, MB/s and sha256 of both;
# 2. a 1 GiB file: the process's peak memory against the transmit FIFO;
# 3. keystroke-to-wire and Send-to-wire latency against the bare write;
# 4. Repeat every 1 ms with 16 bytes for 10 s: sends against the schedule and
#    the main window's longest tick (SECONDS_RUN=n, PERIOD=ms to vary).
# Usage: bench/tx/run.sh [build dir] [megabytes]   (build the Windows preset first)
#   PARTS="file big latency" chooses the parts (all by default); COUNT=n sends.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
xvfb_start
build=$(cd "${1:-$root/build/$OLVEX_WINE_TARGET}" && pwd)
mb=${2:-64}
work=${BENCH_DIR:-/tmp/olvex-bench-tx}
mkdir -p "$work"
src=$work/random-$mb.bin
[ -f "$src" ] || head -c $((mb * 1048576)) /dev/urandom >"$src"
pty_pair "$work/pty" 5 6 2>/dev/null
trap 'pty_pair_stop; xvfb_stop' EXIT
reader_tty=$(readlink -f "$work/pty/b")
now() { date +%s.%N; }

send() {   # send KIND FILE: prints MB/s; the bytes read land in $work/got.bin
  local kind=$1 file=$2 log=$work/log-$1.txt bytes t0 t1 reader
  bytes=$(stat -c %s "$file")
  rm -f "$log" "$work/got.bin"
  stty -F "$reader_tty" raw -echo
  head -c "$bytes" "$reader_tty" >"$work/got.bin" &
  reader=$!
  case $kind in
    bare) timeout 1800 "$OLVEX_WINE" "$build/bin/bench_tx_bare.exe" 5 "Z:$file" 65536 >"$log" 2>&1 & ;;
    block) timeout 1800 "$OLVEX_WINE" "$build/bin/bench_tx_bare.exe" 5 "Z:$file" 1024 >"$log" 2>&1 & ;;
    app)  timeout 1800 "$OLVEX_WINE" "$build/bin/bench_app_tx.exe" 5 "Z:$file" >"$log" 2>&1 & ;;
    app8) timeout 1800 "$OLVEX_WINE" "$build/bin/bench_app_tx.exe" 5 "Z:$file" 8192 >"$log" 2>&1 & ;;
  esac
  local pid=$!
  for _ in $(seq 1200); do grep -q '^ready' "$log" 2>/dev/null && break; sleep 0.02; done
  t0=$(now)
  wait $reader
  t1=$(now)
  wait $pid || { echo "$kind failed:" >&2; cat "$log" >&2; return 1; }
  awk -v b="$bytes" -v a="$t0" -v z="$t1" 'BEGIN { printf "%.2f", b / 1048576 / (z - a) }'
}

parts=${PARTS:-file big latency repeat}
has() { case " $parts " in *" $1 "*) return 0 ;; esac; return 1; }

if has file; then
echo "send-file benchmark: $mb MB of random bytes through a socat pty pair ($OLVEX_WINE_TARGET)"
want=$(sha256sum <"$src" | cut -c1-16)
sum() { sha256sum <"$work/got.bin" | cut -c1-16; }
bare=$(send bare "$src");   echo "  bare WriteFile loop, 64 KiB writes        $bare MB/s   sha256 $(sum) (file $want)"
block=$(send block "$src"); echo "  bare loop, 1 KiB blocks + queue count     $block MB/s   sha256 $(sum)"
app=$(send app "$src");     echo "  send-file window, 1 MiB tx FIFO           $app MB/s   sha256 $(sum)   (at most 10 MB/s: one FIFO per tick)"
sed 's/^/    /' "$work/log-app.txt" | grep -v '^    ready'
app8=$(send app8 "$src");   echo "  send-file window, 8 MiB tx FIFO           $app8 MB/s   sha256 $(sum)"
sed 's/^/    /' "$work/log-app8.txt" | grep -v '^    ready'
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "  8 MiB window / 64 KiB loop: $(ratio "$app8" "$bare")   / 1 KiB block loop: $(ratio "$app8" "$block")   (target >= 0.90)"

fi

if has big; then
  big=$work/zero-1g.bin
  [ -f "$big" ] || truncate -s 1G "$big"
  echo "1 GiB file through the send-file window (peak memory; target: tx FIFO + 32 MB)"
  rate=$(send app "$big"); echo "  $rate MB/s, sha256 $( [ "$(sha256sum <"$work/got.bin")" = "$(sha256sum <"$big")" ] && echo equal || echo DIFFERENT)"
  sed 's/^/  /' "$work/log-app.txt" | grep -v '^  ready'
fi

if has latency; then
  echo "latency to the wire, median and 99th percentile"
  timeout 600 "$OLVEX_WINE" "$build/bin/bench_tx_latency.exe" 5 6 "${COUNT:-1000}" 2>&1 | sed 's/^/  /'
fi

if has repeat; then
  echo "Repeat in the send-string window, 16 bytes, the far end read as fast as it comes"
  stty -F "$reader_tty" raw -echo
  cat "$reader_tty" >/dev/null &
  reader=$!
  timeout 600 "$OLVEX_WINE" "$build/bin/bench_tx_repeat.exe" 5 "${SECONDS_RUN:-10}" "${PERIOD:-1}" 2>&1 | sed 's/^/  /'
  kill $reader 2>/dev/null || true
fi
