#!/usr/bin/env bash
# HEX page and Save all figures under Wine: grid repaint, RefreshInspector and
# PgDn steps with a small and a large store, then Save all of the large store
# against a bare ReadFile/WriteFile copy of the same file.
# Usage: bench/hex/run.sh [build dir] [megabytes]   (build the Windows preset first)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
build=$(cd "${1:-$root/build/$OLVEX_WINE_TARGET}" && pwd)
mb=${2:-200}
work=${BENCH_DIR:-/tmp/olvex-bench-hex}
mkdir -p "$work"
xvfb_start
trap 'xvfb_stop; rm -f "$work"/*.bin' EXIT
"$OLVEX_WINE" "$build/bin/bench_hex.exe" "$mb" "Z:$work"
