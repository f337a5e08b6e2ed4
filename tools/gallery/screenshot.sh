#!/usr/bin/env bash
# Photographs the gallery under Wine on a virtual display: the Controls page,
# the open File menu, the Paint page and the Views page. Builds nothing: run after the Windows build.
#   tools/gallery/screenshot.sh [OUT_PREFIX]   -> OUT_PREFIX-{controls,menu,paint,views}.png
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/build/gallery}
. "$root/scripts/lib.sh"
target=$(wine_target)
# A prefix of its own, where Wine draws the window frames itself (there is
# no window manager on the virtual display to do it).
export WINEPREFIX=${OLVEX_SHOT_PREFIX:-$root/build/$target/wineprefix-shot}
OLVEX_QUIET=1 wine_env
bin=${OLVEX_GALLERY_BIN:-$OLVEX_WINE_BIN}  # another build folder may be named
[ -x "$bin/gallery.exe" ] || { echo "no $bin/gallery.exe: build the $target preset first" >&2; exit 1; }
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
xvfb_start
sleep 0.5
xdpyinfo >/dev/null 2>&1 || { echo "the virtual display $DISPLAY did not come up" >&2; exit 1; }
drive() { timeout 60 "$OLVEX_WINE" "$bin/guidriver.exe" "$@"; }

wine "$bin/gallery.exe" &
gallery=$!
trap 'kill $gallery 2>/dev/null || true; xvfb_stop' EXIT
drive find "Olvex gallery" 30000
sleep 2  # let every control paint
import -window root "$out-controls.png"
drive keys "Olvex gallery" Alt+F  # the File menu, with its icons
sleep 1
import -window root "$out-menu.png"
drive keys "Olvex gallery" Esc
drive keys "Olvex gallery" Esc
drive tab "Olvex gallery" 1
sleep 1
import -window root "$out-paint.png"
drive tab "Olvex gallery" 2
sleep 1
import -window root "$out-views.png"
drive menu "Olvex gallery" "File/Exit" || true
drive gone "Olvex gallery" 10000 || true
echo "$out-controls.png $out-menu.png $out-paint.png $out-views.png"
