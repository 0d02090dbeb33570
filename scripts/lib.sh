# Shared by the run and test scripts: a display for Wine (Xvfb when there is none) and the
# project's Wine prefix, made once.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-quil}"
export WINEARCH=win32

QUIL_XVFB_PID=""

# Starts Xvfb on a free display number when DISPLAY is not set; sets QUIL_STARTED_XVFB=1 then.
quil_start_display() {
  QUIL_STARTED_XVFB=0
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n
  for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      QUIL_XVFB_PID=$!
      export DISPLAY=":$n"
      QUIL_STARTED_XVFB=1
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
      done
      echo "Xvfb did not start on :$n" >&2
      return 1
    fi
  done
  echo "no free X display number" >&2
  return 1
}

# Creates the Wine prefix once, without the crash debugger: a test program that crashes must end
# (and fail its test) rather than wait in winedbg. Safe to run from several processes at once.
quil_prepare_prefix() {
  local marker="$WINEPREFIX/.quil-prepared"
  [ -f "$marker" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$marker" ]; then
      echo "preparing the Wine prefix $WINEPREFIX" >&2
      wineboot --init </dev/null >/dev/null 2>&1 || true
      wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
        </dev/null >/dev/null 2>&1 || true
      touch "$marker"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Prepares the prefix and keeps a wineserver with Wine's own background programs running for the
# tests. The background programs are started here, with their output going nowhere: started by
# the first test instead, they would keep that test's output pipe open and ctest would wait for it.
quil_prepare_wine() {
  quil_prepare_prefix
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

quil_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$QUIL_XVFB_PID" ]; then kill "$QUIL_XVFB_PID" 2>/dev/null || true; fi
}
