# Shared by scripts/test, scripts/run and the tools: the Wine prefix, a virtual
# display, and socat pty pairs that Wine sees as COM ports.

OLVEX_ROOT=${OLVEX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

# Which Windows build this machine can run. The product is 32-bit, but some
# kernels run 64-bit user code only (i386 execve fails with ENOEXEC); there the
# same sources are built for x86_64 and run under wine64 instead.
wine_target() {
  if [ -z "${OLVEX_WINE_TARGET:-}" ]; then
    if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
      OLVEX_WINE_TARGET=win32
    else
      OLVEX_WINE_TARGET=win64
    fi
  fi
  echo "$OLVEX_WINE_TARGET"
}

# A private Wine prefix inside the build folder of the runnable target, made on
# first use. After this, `wine` runs that target's programs.
wine_env() {
  local target
  target=$(wine_target)
  export OLVEX_WINE_TARGET=$target
  export OLVEX_WINE_BIN=$OLVEX_ROOT/build/$target/bin
  export WINEPREFIX=${WINEPREFIX:-$OLVEX_ROOT/build/$target/wineprefix}
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko install dialogs: the program needs neither.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  if [ "$target" = win32 ]; then
    export WINEARCH=win32
    export OLVEX_WINE=/usr/bin/wine OLVEX_WINESERVER=/usr/bin/wineserver
  else
    export WINEARCH=win64
    [ -n "${OLVEX_QUIET:-}" ] || echo "note: this kernel cannot run 32-bit code; wine runs the 64-bit twin (cmake/mingw-x86_64.cmake, preset win64) under wine64" >&2
    export OLVEX_WINE=/usr/lib/wine/wine64 OLVEX_WINESERVER=/usr/lib/wine/wineserver64
  fi
  # In scripts that source this file, `wine` means the runnable one; other
  # programs (timeout, xargs) take "$OLVEX_WINE".
  wine() { "$OLVEX_WINE" "$@"; }
  wineserver() { "$OLVEX_WINESERVER" "$@"; }
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# Starts Xvfb on a free display unless one is already usable.
xvfb_start() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=91
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  OLVEX_XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

xvfb_stop() {
  [ -n "${OLVEX_XVFB_PID:-}" ] && kill "$OLVEX_XVFB_PID" 2>/dev/null || true
  OLVEX_XVFB_PID=
}

# Starts the prefix's Wine session and keeps it alive. Wine's mount manager
# points com1..com4 at /dev/ttyS* when a session starts, so links of our own
# for those ports are made after this and last while the session does.
wine_session_start() {
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 || true
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
}

# pty_pair DIR COM_A COM_B: a socat pty pair; $WINEPREFIX/dosdevices/comA is one
# end and comB the other. Sets OLVEX_SOCAT_PID; DIR/a and DIR/b name the ttys.
pty_pair() {
  local dir=$1 a=$2 b=$3
  mkdir -p "$dir"
  rm -f "$dir/a" "$dir/b"
  socat "pty,raw,echo=0,link=$dir/a" "pty,raw,echo=0,link=$dir/b" &
  OLVEX_SOCAT_PID=$!
  for _ in $(seq 50); do [ -e "$dir/a" ] && [ -e "$dir/b" ] && break; sleep 0.05; done
  mkdir -p "$WINEPREFIX/dosdevices"
  ln -sfn "$(readlink -f "$dir/a")" "$WINEPREFIX/dosdevices/com$a"
  ln -sfn "$(readlink -f "$dir/b")" "$WINEPREFIX/dosdevices/com$b"
}

pty_pair_stop() {
  [ -n "${OLVEX_SOCAT_PID:-}" ] && kill "$OLVEX_SOCAT_PID" 2>/dev/null || true
  wait "$OLVEX_SOCAT_PID" 2>/dev/null || true
  OLVEX_SOCAT_PID=
}

# Waits for the prefix's session to end by itself (a few seconds after its last
# program), and kills it only when a program was left over.
wine_session_end() {
  timeout 60 "$OLVEX_WINESERVER" -w || wineserver -k 2>/dev/null || true
}

# registered_port_add N PATH / registered_port_remove N: COM N in
# HKLM\Software\Wine\Ports, naming PATH. The mount manager reads that key only
# when a session starts, so the session is ended after each change; the
# dosdevices link it makes outlives the value, so that goes too.
registered_port_add() {
  wine reg add 'HKLM\Software\Wine\Ports' /v "COM$1" /d "$2" /f >/dev/null 2>&1
  wine_session_end
}
registered_port_remove() {
  wine reg delete 'HKLM\Software\Wine\Ports' /v "COM$1" /f >/dev/null 2>&1
  wine_session_end
  rm -f "$WINEPREFIX/dosdevices/com$1"
}

# run_wine_tests EXE...: runs each Windows test program under Wine (wine_env and
# a display first), each with a fresh pty pair as COM5 <-> COM6, COM1 the same
# end as COM5 (the program's default port) and COM7 naming a missing device.
# COM40, above the trial opens' range, is registered with the mount manager for
# the whole run (OLVEX_COM_REGISTERED), naming no device: a test that needs it
# points its link at a pty of its own.
# Logs go to build/wine-logs; sets OLVEX_WINE_PASS and OLVEX_WINE_FAIL.
run_wine_tests() {
  OLVEX_WINE_PASS=0; OLVEX_WINE_FAIL=0
  export OLVEX_ROOT OLVEX_COM_A=5 OLVEX_COM_B=6 OLVEX_COM_MISSING=7 OLVEX_DOSDEVICES=$WINEPREFIX/dosdevices
  export OLVEX_COM_REGISTERED=40
  mkdir -p "$WINEPREFIX/dosdevices" "$OLVEX_ROOT/build/wine-logs"
  ln -sfn /nonexistent/olvex-tty "$WINEPREFIX/dosdevices/com7"
  registered_port_add "$OLVEX_COM_REGISTERED" /nonexistent/olvex-com40
  local exe name log rc p f
  for exe in "$@"; do
    [ -e "$exe" ] || continue
    name=$(basename "$exe" .exe)
    log=$OLVEX_ROOT/build/wine-logs/$name.log
    pty_pair "$OLVEX_ROOT/build/pty/$name" 5 6
    ln -sfn "$(readlink "$WINEPREFIX/dosdevices/com5")" "$WINEPREFIX/dosdevices/com1"
    timeout 900 "$OLVEX_WINE" "$exe" ${OLVEX_GTEST_FILTER:+--gtest_filter=$OLVEX_GTEST_FILTER} >"$log" 2>&1
    rc=$?
    pty_pair_stop
    p=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$log" | sed -E 's/^\[  PASSED  \] ([0-9]+).*/\1/' | tail -n 1)
    f=$(grep -E '^\[  FAILED  \] [0-9]+ test' "$log" | sed -E 's/^\[  FAILED  \] ([0-9]+).*/\1/' | tail -n 1)
    p=${p:-0}; f=${f:-0}
    if [ "$f" -eq 0 ] && { [ $rc -ne 0 ] || ! grep -q '^\[==========\] .* ran\.' "$log"; }; then
      f=1   # crashed or hung before GoogleTest could report
    fi
    OLVEX_WINE_PASS=$((OLVEX_WINE_PASS + p)); OLVEX_WINE_FAIL=$((OLVEX_WINE_FAIL + f))
    if [ "$f" -gt 0 ]; then
      echo "wine: $name failed (exit $rc):"
      grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -n 30
    fi
  done
  registered_port_remove "$OLVEX_COM_REGISTERED"
}
