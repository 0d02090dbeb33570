# Shared by the run and test scripts: a display for Wine (Xvfb when there is none) and the
# project's Wine prefix, made once.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-quil}"
export WINEARCH=win32

QUIL_XVFB_PID=""

# Starts Xvfb on a free display number when DISPLAY is not set; sets QUIL_STARTED_XVFB=1 then.
# A number whose server does not come up (taken by a server this folder cannot see, for example
# from a chroot) is skipped.
quil_start_display() {
  QUIL_STARTED_XVFB=0
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n i
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    QUIL_XVFB_PID=$!
    for i in $(seq 1 50); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        QUIL_STARTED_XVFB=1
        return 0
      fi
      kill -0 "$QUIL_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$QUIL_XVFB_PID" 2>/dev/null || true
    QUIL_XVFB_PID=""
  done
  echo "no X display could be started" >&2
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
