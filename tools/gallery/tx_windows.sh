#!/usr/bin/env bash
# Photographs the three transmit windows of olvex.exe under Wine on a virtual
# display, with COM1 on a pty whose far end a slow reader drains, so the
# send-file window is caught mid-transfer with both bars. Builds nothing.
#   tools/gallery/tx_windows.sh [OUT_PREFIX]   -> OUT_PREFIX-{file,integer,string}.png
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/build/tx}
. "$root/scripts/lib.sh"
target=$(wine_target)
export WINEPREFIX=${OLVEX_SHOT_PREFIX:-$root/build/$target/wineprefix-shot}
OLVEX_QUIET=1 wine_env
bin=$OLVEX_WINE_BIN
[ -x "$bin/olvex.exe" ] || { echo "no $bin/olvex.exe: build the $target preset first" >&2; exit 1; }
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
xvfb_start
sleep 0.5
xdpyinfo >/dev/null 2>&1 || { echo "the virtual display $DISPLAY did not come up" >&2; exit 1; }
work=$root/build/tx-shot
mkdir -p "$work/home"
rm -f "$work/home/config.ini"
head -c 3000000 /dev/urandom >"$work/random.bin"
wineserver -p || true  # a session may already run in this prefix
wine cmd /c exit >/dev/null 2>&1 || true
pty_pair "$work/pty" 1 9
# The reader takes 200 kB/s, so 3 MB take about 15 s.
python3 - "$(readlink -f "$work/pty/b")" <<'PY' &
import os, sys, time, termios, tty
fd = os.open(sys.argv[1], os.O_RDONLY)
tty.setraw(fd)
got = 0
while got < 3000000:
    got += len(os.read(fd, 20000))
    time.sleep(0.1)
PY
reader=$!
drive() { timeout 60 "$OLVEX_WINE" "$bin/guidriver.exe" "$@"; }
(cd "$work/home" && exec "$OLVEX_WINE" "$bin/olvex.exe") &
olvex=$!
trap 'kill $olvex $reader 2>/dev/null || true; pty_pair_stop; wine_session_stop; xvfb_stop' EXIT
drive find "Olvex terminal" 30000
drive menu "Olvex terminal" "Port/Connect"
sleep 1
drive keys "Olvex terminal" Ctrl+O
drive file "Open" "$(echo "Z:$work/random.bin" | tr / '\\')"
sleep 4
import -window root "$out-file.png"
wait $reader || true
sleep 2
drive keys "Olvex terminal" Ctrl+I
drive find "Send integer" 10000
drive type "Send integer" 1 "after:Hex:" || true
sleep 1
import -window root "$out-integer.png"
drive keys "Olvex terminal" Ctrl+M
drive find "Send string" 10000
drive click "Send string" "Append EOL mark" || true
sleep 1
import -window root "$out-string.png"
drive menu "Olvex terminal" "File/Exit" || true
drive gone "Olvex terminal" 10000 || true
echo "$out-file.png $out-integer.png $out-string.png"
