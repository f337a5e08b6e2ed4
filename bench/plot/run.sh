#!/usr/bin/env bash
# Plot page figures under Wine: drain steps, parse cost, full repaint, memory.
# Usage: bench/plot/run.sh [build dir] [lines]   (build the Windows preset first)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
build=$(cd "${1:-$root/build/$OLVEX_WINE_TARGET}" && pwd)
xvfb_start
trap 'xvfb_stop' EXIT
"$OLVEX_WINE" "$build/bin/bench_plot.exe" "${2:-600000}"
