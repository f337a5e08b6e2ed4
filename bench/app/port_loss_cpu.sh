#!/usr/bin/env bash
# CPU share of olvex.exe, and of the wineserver serving it, under Wine: idle but
# connected with the Info page hidden and shown, then after the port's pty pair
# is killed (with "Reconnect automatically" on). Prints one line per phase.
# Usage: bench/app/port_loss_cpu.sh [olvex.exe] [seconds per phase]
#   PORT_KEYS="port_rxth_sleep=10 ..." adds keys to the PORT section.
#   (build the Windows preset first; another olvex.exe may be named to compare)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
exe=${1:-$OLVEX_WINE_BIN/olvex.exe}
secs=${2:-10}
work=/tmp/olvex-loss-cpu-$$
mkdir -p "$work/run"
{
  printf '[PORT]\r\nport_num=15\r\nport_reconnect=1\r\n'
  for k in ${PORT_KEYS:-}; do printf '%s\r\n' "$k"; done
} >"$work/run/config.ini"
xvfb_start
wine_session_start || true
pty_pair "$work/pty" 15 16
drive() { timeout 60 "$OLVEX_WINE" "$OLVEX_WINE_BIN/guidriver.exe" "$@"; }
(cd "$work/run" && exec "$OLVEX_WINE" "$exe") &
app=$!
cleanup() {
  kill "$app" 2>/dev/null || true
  pty_pair_stop
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
drive find "Olvex terminal" 30000 >/dev/null

# The wineserver of this prefix: its working folder is the prefix's server folder.
server_dir=server-$(printf '%x' "$(stat -c %d "$WINEPREFIX")")-$(printf '%x' "$(stat -c %i "$WINEPREFIX")")
ws=
for p in $(pgrep -u "$(id -u)" wineserver || true); do
  [ "$(basename "$(readlink "/proc/$p/cwd" 2>/dev/null)")" = "$server_dir" ] && ws=$p
done
ticks() { [ -n "$1" ] && awk '{print $14 + $15}' "/proc/$1/stat" || echo 0; }
hz=$(getconf CLK_TCK)
measure() {   # measure LABEL
  local a0 w0 t0 a1 w1 t1
  a0=$(ticks "$app"); w0=$(ticks "$ws"); t0=$(date +%s.%N)
  sleep "$secs"
  a1=$(ticks "$app"); w1=$(ticks "$ws"); t1=$(date +%s.%N)
  awk -v l="$1" -v a=$((a1 - a0)) -v w=$((w1 - w0)) -v t0="$t0" -v t1="$t1" -v hz="$hz" \
    'BEGIN { s = t1 - t0; printf "%-44s olvex.exe %5.2f %%  wineserver %5.2f %%  of one core over %.1f s\n", l, 100 * a / hz / s, 100 * w / hz / s, s }'
}
status() { drive status "Olvex terminal" 0 | tr -d '\t\r'; }

sleep 2
measure "disconnected, idle, HEX page shown"
drive menu "Olvex terminal" "Port/Connect"
sleep 2
echo "panel 0: $(status)"
measure "connected, idle, HEX page shown"
drive tab "Olvex terminal" 2
sleep 1
measure "connected, idle, Info page shown"
pty_pair_stop
sleep 3
echo "after the pair was killed, panel 0: $(status)"
drive msgbox-text "Error" 2>/dev/null | head -n 3 || echo "(no message box)"
measure "port lost, message box up, Info page shown"
drive msgbox "Error" "OK" >/dev/null 2>&1 || true
drive tab "Olvex terminal" 1
measure "port lost, retrying every second, HEX page"
drive menu "Olvex terminal" "File/Exit" >/dev/null 2>&1 || true
