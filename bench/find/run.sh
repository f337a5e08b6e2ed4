#!/usr/bin/env bash
# Find figures natively and under Wine: bench_find over a store of 200 MB (or
# the megabytes given). Build the linux and the Windows preset first.
# Usage: bench/find/run.sh [megabytes]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib.sh"
OLVEX_QUIET=1 wine_env
mb=${1:-200}
echo "== native"
"$root/build/linux/bin/bench_find" "$mb"
echo "== Wine ($OLVEX_WINE_TARGET)"
"$OLVEX_WINE" "$root/build/$OLVEX_WINE_TARGET/bin/bench_find.exe" "$mb"
