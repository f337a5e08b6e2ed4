#!/usr/bin/env bash
# Photographs olvex.exe under Wine on a virtual display for the user manual:
# the main window on each page, the port settings, the three send windows, Find
# and About, each cropped to its window and reduced to a 64-colour palette.
# COM1 is a pty whose far end the demo device drives, then a small feeder that
# prints plot lines and drains slowly. Builds nothing: run after the Windows
# build and `cmake --build build/linux --target demo_device`.
#   tools/gallery/manual_shots.sh [OUT_DIR]   -> OUT_DIR/*.png (default docs/manual)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mkdir -p "${1:-$root/docs/manual}" && cd "${1:-$root/docs/manual}" && pwd)
. "$root/scripts/lib.sh"
target=$(wine_target)
export WINEPREFIX=${OLVEX_SHOT_PREFIX:-$root/build/$target/wineprefix-shot}
OLVEX_QUIET=1 wine_env
bin=$OLVEX_WINE_BIN
demo=${OLVEX_DEMO_DEVICE:-$root/build/linux/bin/demo_device}
[ -x "$bin/olvex.exe" ] || { echo "no $bin/olvex.exe: build the $target preset first" >&2; exit 1; }
[ -x "$bin/guidriver.exe" ] || { echo "no $bin/guidriver.exe: build guidriver_cli in the $target preset" >&2; exit 1; }
[ -x "$demo" ] || { echo "no $demo: build demo_device in the linux preset" >&2; exit 1; }
# The display first: the Wine session that the next call starts keeps the
# display it found, and a session without one never shows a window.
xvfb_start
sleep 0.5
xdpyinfo >/dev/null 2>&1 || { echo "the virtual display $DISPLAY did not come up" >&2; exit 1; }
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true

work=$root/build/manual-shot
mkdir -p "$work/home"
# Time stamps on, so the Text page shows them.
printf '[TXTVIEW]\r\ntimestamps=1\r\n' >"$work/home/config.ini"
head -c 1500000 /dev/urandom >"$work/random.bin"
wineserver -p || true
wine cmd /c exit >/dev/null 2>&1 || true
pty_pair "$work/pty" 1 9
far=$(readlink -f "$work/pty/b")

"$demo" "$far" &
peer=$!
olvex=
trap 'kill $peer $olvex 2>/dev/null || true; pty_pair_stop; wine_session_stop; xvfb_stop' EXIT
drive() { timeout 120 "$OLVEX_WINE" "$bin/guidriver.exe" "$@"; }

# shot CAPTION NAME: the newest shown window of that caption, as NAME.png.
shot() {
  local id
  sleep 1
  id=$(xdotool search --onlyvisible --name "^$1\$" | tail -n 1)
  [ -n "$id" ] || { echo "no window \"$1\" to photograph" >&2; return 1; }
  import -window "$id" png:- | convert png:- -colors 64 PNG8:"$out/$2.png"
  echo "$out/$2.png"
}

(cd "$work/home" && exec "$OLVEX_WINE" "$bin/olvex.exe") &
olvex=$!
drive find "Olvex terminal" 90000
drive menu "Olvex terminal" "Port/Connect"
sleep 9  # the demo device prints a line a second
drive tab "Olvex terminal" 0
shot "Olvex terminal" main-text
drive tab "Olvex terminal" 1
shot "Olvex terminal" main-hex
drive tab "Olvex terminal" 2
sleep 1  # the Info page refreshes twice a second
shot "Olvex terminal" main-info

drive menu "Olvex terminal" "Rx/Find..."
drive find "Find" 10000
drive type "Find" "volt" "after:Find:"
drive click "Find" "Find next"
shot "Find" find
drive click "Find" "Close"

# The plot feeder replaces the demo device: fifty readings a second for six
# seconds, then it reads slowly so a file transfer is caught half way.
kill $peer
wait $peer 2>/dev/null || true
drive keys "Olvex terminal" Shift+Del
# Without stamps the plot's axis is the line number, one step a reading.
drive menu "Olvex terminal" "Rx/Text/Timestamps"
python3 - "$far" <<'PY' &
import math, os, sys, time, tty
fd = os.open(sys.argv[1], os.O_RDWR)
tty.setraw(fd)
for i in range(300):
    t = i / 50.0
    line = "temp=%.2f volt=%.3f rpm=%d\r\n" % (
        22 + 3 * math.sin(t), 3.3 + 0.2 * math.cos(2.5 * t), 1200 + int(400 * math.sin(0.7 * t)))
    os.write(fd, line.encode())
    time.sleep(0.02)
got = 0
while got < 1500000:
    got += len(os.read(fd, 20000))
    time.sleep(0.1)
PY
peer=$!
sleep 7
drive tab "Olvex terminal" 3
drive click "Olvex terminal" "Own scale"
shot "Olvex terminal" main-plot

drive keys "Olvex terminal" Ctrl+O
drive file "Open" "$(echo "Z:$work/random.bin" | tr / '\\')"
sleep 3
id=$(xdotool search --onlyvisible --name '^Tx \(' | tail -n 1)
import -window "$id" png:- | convert png:- -colors 64 PNG8:"$out/send-file.png"
echo "$out/send-file.png"
wait $peer || true
sleep 2

drive keys "Olvex terminal" Ctrl+I
drive find "Send integer" 10000
drive type "Send integer" "1234" "after:Dec:" || true
shot "Send integer" send-integer
drive click "Send integer" "Cancel"
drive keys "Olvex terminal" Ctrl+M
drive find "Send string" 10000
drive type "Send string" "AT+VERSION?" || true
drive click "Send string" "Append EOL mark" || true
shot "Send string" send-string
drive click "Send string" "Cancel"

drive menu "Olvex terminal" "Port/Settings"
drive find "COM port settings" 10000
shot "COM port settings" port-settings
drive click "COM port settings" "Cancel"
drive menu "Olvex terminal" "Help/About"
drive find "About" 10000
shot "About" about
drive keys "About" Esc

drive menu "Olvex terminal" "File/Exit" || true
drive gone "Olvex terminal" 10000 || true
