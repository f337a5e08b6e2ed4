#!/usr/bin/env bash
# Runs scripts/setup against stand-in apt-get, dpkg and id on PATH, one case a
# row, and checks what it asked to install and how it ended. Prints
# "setup: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The stand-ins log every call to $work/calls. apt-get fails an update when
# FAIL_UPDATE is set, and an install that names any package in FAIL_PKGS.
bin=$work/bin
mkdir -p "$bin"
for t in bash grep mktemp chmod rm sleep cat; do ln -s "$(command -v $t)" "$bin/$t"; done
cat >"$bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $*" >>"$CALLS"
[ "$1" = update ] && { [ -n "${FAIL_UPDATE:-}" ] && exit 100; exit 0; }
for a in "$@"; do for f in ${FAIL_PKGS:-}; do [ "$a" = "$f" ] && exit 100; done; done
exit 0
STUB
cat >"$bin/dpkg" <<'STUB'
#!/bin/bash
echo "dpkg $*" >>"$CALLS"
[ "$1" = -s ] && exit 1
exit 0
STUB
printf '#!/bin/bash\necho 0\n' >"$bin/id"
chmod +x "$bin"/apt-get "$bin"/dpkg "$bin"/id

pass=0 fail=0
check() { # NAME CONDITION-TEXT: counts one expectation
  if eval "$2"; then pass=$((pass + 1)); else fail=$((fail + 1)); echo "setup test '$1': expected $2"; cat "$work/out"; fi
}

# name | kernel runs i386 | update fails | packages that fail | exit | must ask | must not ask | says
cases=(
  "no-i386-bad-index|no|1||0|apt-get install -y -q cmake|^apt-get install.*:i386|64-bit twin will run"
  "i386-wine32-fails|yes|1|wine32:i386|0|apt-get install -y -q wine32:i386||wine32:i386 could not be installed"
  "i386-all-good|yes||||dpkg --add-architecture i386||installing wine32:i386"
  "64-bit-install-fails|no||socat|1|apt-get install -y -q socat|^apt-get install.*:i386|could not install: socat"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name i386 bad_update bad_pkgs want_rc ask no_ask says <<<"$row"
  : >"$work/calls"
  CALLS=$work/calls OLVEX_SETUP_I386=$i386 FAIL_UPDATE=$bad_update FAIL_PKGS=$bad_pkgs \
    OLVEX_SETUP_RETRY_PAUSE=0 PATH=$bin "$bin/bash" "$root/scripts/setup" >"$work/out" 2>&1
  rc=$?
  check "$name" "[ $rc -eq ${want_rc:-0} ]"
  check "$name" "grep -qF -- '$ask' '$work/calls'"
  [ -n "$no_ask" ] && check "$name" "! grep -qE -- '$no_ask' '$work/calls'"
  check "$name" "grep -qF -- '$says' '$work/out'"
  [ -n "$bad_update" ] && check "$name" "[ \$(grep -c 'apt-get update' '$work/calls') -eq 3 ]"
done
echo "setup: $pass passed, $fail failed"
[ $fail -eq 0 ]
