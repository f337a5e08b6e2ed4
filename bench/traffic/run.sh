#!/usr/bin/env bash
# Frame-time accuracy under Wine: bench_traffic_accuracy over a socat pty pair
# (COM5 the link, COM6 the peer). Builds nothing: build the win32 preset first.
# Usage: bench/traffic/run.sh [build dir] [rounds] [reply delay ms]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
build=$(cd "${1:-$root/build/$OLVEX_WINE_TARGET}" && pwd)
work=${BENCH_DIR:-/tmp/olvex-bench-traffic}
pty_pair "$work/pty" 5 6 2>/dev/null
trap 'pty_pair_stop' EXIT
timeout 600 "$OLVEX_WINE" "$build/bin/bench_traffic_accuracy.exe" 5 6 "${2:-50}" "${3:-20}" 2>&1 | grep -v '^[0-9a-f]*:'
