#!/usr/bin/env bash
# Main window receive benchmark under Wine: a native peer writes text (mixed
# lines of 20 to 200 characters, or lines of LINE bytes, CR+LF included) as
# fast as it can into a socat pty pair whose other end is COM5. Read first by
# a native `head` (the pty pair's own speed), then by the bare Win32
# poll-and-read loop of bench/rx (its output checked by sha256), then by the
# whole main window (bench_app_rx) with the Text page shown and once with the
# HEX page. Prints MB/s, their ratio, the longest Timer1 tick, the sampled peak
# memory against the data, the text view's repaint and the memory after "Clear
# rx data"; then the main window again with capture to file on.
# Usage: bench/app/run.sh [build dir] [megabytes]   (build the Windows preset first)
#   LINE=n writes lines of n bytes (CR+LF included) instead of mixed ones.
#   COLOUR=1 writes coloured log lines (as ESP-IDF prints them) and runs the
#   main window with "ANSI colours" off, then on, for their ratio.
#   UTF8=1 writes lines of UTF-8 text (one character in ten of two to four
#   bytes) and runs the main window with "UTF-8" off, then on, for their ratio.
#   OLVEX_BENCH_RX_FIFO_KB=n runs the main window with an n KiB receive FIFO.
#   PACE_KBS=n paces the writer at n KiB/s (293 for 3000000 baud) and runs the
#   main window only, for the no-loss and CPU figures of a real line's speed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
build=$(cd "${1:-$root/build/$OLVEX_WINE_TARGET}" && pwd)
mb=${2:-200}
work=${BENCH_DIR:-/tmp/olvex-bench-app}
mkdir -p "$work"
line=${LINE:-mixed}
[ -n "${COLOUR:-}" ] && line=colour
[ -n "${UTF8:-}" ] && line=utf8
src=$work/text-$mb-$line.txt
if [ ! -f "$src" ]; then
  python3 - "$src" "$mb" "$line" <<'PY'
import random, sys
path, mb, line = sys.argv[1], int(sys.argv[2]), sys.argv[3]
rnd = random.Random(2026)
alphabet = b"abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 .,;:-_=+*/()"
want = mb * 1048576
pool = bytes(rnd.choice(alphabet) for _ in range(1 << 20))
if line == "utf8":
    wide = ["\u00b0", "\u00b5", "\u00e9", "\u00df", "\u20ac", "\u2192", "\u03a9", "\U0001F600"]
    chars = [rnd.choice(wide) if rnd.random() < 0.1 else chr(rnd.choice(alphabet)) for _ in range(1 << 20)]
    text = "".join(chars)
out = bytearray()
colours = [b"0;32", b"0;33", b"0;31", b"1;36", b"38;5;208"]
levels = b"IWEDV"
while len(out) < want:
    n = rnd.randint(20, 200) if line in ("mixed", "colour", "utf8") else int(line) - 2
    s = rnd.randrange(0, len(pool) - n)
    if line == "colour":
        # A log line in its level's colour, reset at its end; now and then a
        # colour that runs on into the next line.
        k = rnd.randrange(len(colours))
        head = b"\x1b[" + colours[k] + b"m" + levels[k:k + 1] + b" (%d) tag: " % len(out)
        tail = b"\x1b[0m" if rnd.random() < 0.9 else b"\x1b[K"
        out += head + pool[s:s + n] + tail + b"\r\n"
    elif line == "utf8":
        out += text[s:s + n].encode() + b"\r\n"
    else:
        out += pool[s:s + n] + b"\r\n"
open(path, "wb").write(out[:want - 2] + b"\r\n")
PY
fi
bytes=$(stat -c %s "$src")
pty_pair "$work/pty" 5 6 2>/dev/null
trap 'pty_pair_stop' EXIT
writer_tty=$(readlink -f "$work/pty/b")
now() { date +%s.%N; }

run() {   # run KIND: prints MB/s and keeps the log
  local kind=$1 log=$work/log-$1.txt pid t0 t1
  rm -f "$log"
  case $kind in
    pty)  ( echo ready; head -c "$bytes" "$work/pty/a" >/dev/null; echo "bytes $bytes last $(now)" ) >"$log" 2>&1 & ;;
    bare) timeout 900 "$OLVEX_WINE" "$build/bin/bench_rx_bare.exe" 5 "$bytes" "Z:$work/out.bin" >"$log" 2>&1 & ;;
    app)  timeout 900 "$OLVEX_WINE" "$build/bin/bench_app_rx.exe" 5 "Z:$src" text >"$log" 2>&1 & ;;
    utf8) OLVEX_BENCH_UTF8=1 timeout 900 "$OLVEX_WINE" "$build/bin/bench_app_rx.exe" 5 "Z:$src" text >"$log" 2>&1 & ;;
    ansi) OLVEX_BENCH_ANSI=1 timeout 900 "$OLVEX_WINE" "$build/bin/bench_app_rx.exe" 5 "Z:$src" text >"$log" 2>&1 & ;;
    hex)  timeout 900 "$OLVEX_WINE" "$build/bin/bench_app_rx.exe" 5 "Z:$src" hex >"$log" 2>&1 & ;;
    traffic) timeout 900 "$OLVEX_WINE" "$build/bin/bench_app_rx.exe" 5 "Z:$src" traffic >"$log" 2>&1 & ;;
    capture) rm -f "$work/capture.bin"
          timeout 900 "$OLVEX_WINE" "$build/bin/bench_app_rx.exe" 5 "Z:$src" text "Z:$work/capture.bin" >"$log" 2>&1 & ;;
  esac
  pid=$!
  for _ in $(seq 300); do grep -q '^ready' "$log" 2>/dev/null && break; sleep 0.1; done
  grep -q '^ready' "$log" || { echo "$kind did not start:"; cat "$log"; return 1; }
  t0=$(now)
  if [ -n "${PACE_KBS:-}" ]; then
    python3 - "$src" "$writer_tty" "$PACE_KBS" <<'PY' &
import sys, time
src, tty, kbs = sys.argv[1], sys.argv[2], float(sys.argv[3])
step = int(kbs * 1024 / 20)   # every 50 ms
with open(src, "rb") as f, open(tty, "wb", buffering=0) as out:
    t = time.monotonic()
    while True:
        chunk = f.read(step)
        if not chunk: break
        out.write(chunk)
        t += 0.05
        d = t - time.monotonic()
        if d > 0: time.sleep(d)
PY
  else
    cat "$src" >"$writer_tty" &
  fi
  wait $pid || { echo "$kind failed:"; cat "$log"; return 1; }
  t1=$(sed -nE 's/^bytes .* last ([0-9.]+).*/\1/p' "$log")
  awk -v b="$bytes" -v a="$t0" -v z="$t1" 'BEGIN { printf "%.2f", b / 1048576 / (z - a) }'
}

echo "main window receive benchmark: $mb MB of CR+LF text ($line-byte lines) through a socat pty pair"
on_off() {   # on_off KIND NAME: the main window with the item NAME off, then on (run KIND)
  local off on
  off=$(run app);  printf '  main window, %-16s %s MB/s\n' "$2 off" "$off"
  grep -E '^(store|ticks|peak|repaint)' "$work/log-app.txt" | sed 's/^/  /'
  on=$(run "$1");  printf '  main window, %-16s %s MB/s\n' "$2 on" "$on"
  grep -E '^(store|ticks|peak|repaint)' "$work/log-$1.txt" | sed 's/^/  /'
  echo "  $2 on / off: $(awk -v a="$on" -v b="$off" 'BEGIN { printf "%.2f", a / b }')   (target >= 0.90)"
}
if [ -n "${COLOUR:-}" ]; then on_off ansi "ANSI colours"; exit 0; fi
if [ -n "${UTF8:-}" ]; then on_off utf8 "UTF-8"; exit 0; fi
if [ -n "${PACE_KBS:-}" ]; then
  echo "  paced at ${PACE_KBS} KiB/s"
  app=$(run app);   echo "  main window (Timer1 + views)    $app MB/s"
  grep -E '^(store|ticks|cpu|peak|repaint|private)' "$work/log-app.txt" | sed 's/^/  /'
  exit 0
fi
pty=$(run pty);   echo "  the pty pair itself (native head) $pty MB/s"
bare=$(run bare); echo "  bare Win32 poll-and-read loop   $bare MB/s"
if [ "$(sha256sum <"$work/out.bin")" = "$(sha256sum <"$src")" ]; then
  echo "  bare loop output: sha256 equal to the source"
else
  echo "  bare loop output: sha256 DIFFERENT from the source"
fi
rm -f "$work/out.bin"
app=$(run app);   echo "  main window, Text page shown    $app MB/s   (pty itself $pty MB/s)"
grep -E '^(store|ticks|status|Timer1|cpu|peak|repaint|private)' "$work/log-app.txt" | sed 's/^/  /'
echo "  main window / bare: $(awk -v a="$app" -v b="$bare" 'BEGIN { printf "%.2f", a / b }')   (target >= 0.90)"
hex=$(run hex);   echo "  main window, HEX page shown     $hex MB/s"
grep -E '^(store|ticks|peak|private)' "$work/log-hex.txt" | sed 's/^/  /' 
traffic=$(run traffic); echo "  main window, Traffic page shown $traffic MB/s"
grep -E '^(ticks|traffic|cpu|peak)' "$work/log-traffic.txt" | sed 's/^/  /'
echo "  Traffic shown / HEX shown: $(awk -v a="$traffic" -v b="$hex" 'BEGIN { printf "%.2f", a / b }')   (target >= 0.80)"
cap=$(run capture); echo "  main window, capture to file    $cap MB/s"
grep -E '^(capture|ticks|cpu)' "$work/log-capture.txt" | sed 's/^/  /'
echo "  capture on / off: $(awk -v a="$cap" -v b="$app" 'BEGIN { printf "%.2f", a / b }')   (target >= 0.90)"
rm -f "$work/capture.bin"
