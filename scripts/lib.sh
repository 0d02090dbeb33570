# Shared by the run and test scripts: a display for Wine (Xvfb when there is none) and the
# project's Wine prefix, made once.
#
# QUIL_DPI (for example 144) picks a prefix of its own beside the project's, named after it with
# "-144" added, whose screen has that many dots per inch (its LogPixels setting): the display's
# pixel density that a user sets in Windows. QUIL_WINEPREFIX keeps the project's prefix, so that
# the scripts this one starts find the same one.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export QUIL_WINEPREFIX="${QUIL_WINEPREFIX:-${WINEPREFIX:-$HOME/.wine-quil}}"
export WINEPREFIX="$QUIL_WINEPREFIX${QUIL_DPI:+-$QUIL_DPI}"
export WINEARCH=win32

QUIL_XVFB_PID=""
QUIL_WM_PID=""

# Starts Xvfb on a free display number when DISPLAY is not set, with a window manager on it; sets
# QUIL_STARTED_XVFB=1 then. A number is free when neither its socket file nor its abstract socket
# exists: a server of the same machine that this folder cannot see (from a chroot, say) still holds
# the abstract one, and clients would reach that server instead of ours. A number whose server does
# not come up, or where the window manager cannot start, is skipped too. The window manager
# matters: without one, Wine waits about 2 s for a manager's answer each time one of its windows
# closes.
quil_start_display() {
  QUIL_STARTED_XVFB=0
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n i
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null && continue
    # Large enough for the dialog at twice the usual pixel density.
    Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
    QUIL_XVFB_PID=$!
    for i in $(seq 1 100); do
      if [ -e "/tmp/.X11-unix/X$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        if quil_start_window_manager; then
          QUIL_STARTED_XVFB=1
          return 0
        fi
        # Another server took the number meanwhile (its window manager answers): the next one.
        unset DISPLAY
        quil_stop_display
        continue 2
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

# Starts openbox on DISPLAY and waits until it manages the screen: a window manager announces
# itself in the root window's _NET_SUPPORTING_WM_CHECK property.
quil_start_window_manager() {
  local i
  openbox --sm-disable >/dev/null 2>&1 &
  QUIL_WM_PID=$!
  for i in $(seq 1 100); do
    case "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" in *"window id"*) return 0 ;; esac
    if ! kill -0 "$QUIL_WM_PID" 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "the window manager (openbox) did not start on $DISPLAY; trying another display" >&2
  return 1
}

# Stops the window manager and the display that quil_start_display started, by their process ids.
quil_stop_display() {
  if [ -n "$QUIL_WM_PID" ]; then kill "$QUIL_WM_PID" 2>/dev/null || true; fi
  if [ -n "$QUIL_XVFB_PID" ]; then kill "$QUIL_XVFB_PID" 2>/dev/null || true; fi
  QUIL_WM_PID=""
  QUIL_XVFB_PID=""
}

# Wine's own fonts (Debian's fonts-wine): its metric-compatible "MS Sans Serif", the font of the
# dialog templates, and its Tahoma, which "MS Shell Dlg" names. Wine does not find them where the
# package puts them: without copies in the prefix's Fonts folder every one of these names falls
# back to a font of other metrics, and the dialog, whose dialog units come from its font, is laid
# out as no Windows shows it.
QUIL_WINE_FONTS=/usr/share/wine/fonts

# Copies Wine's fonts that the prefix's Fonts folder lacks into it.
quil_copy_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in "$QUIL_WINE_FONTS"/*; do
    [ -e "$font" ] || continue
    [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
  done
}

# Whether the prefix's Fonts folder holds every one of Wine's fonts.
quil_fonts_copied() {
  local font
  for font in "$QUIL_WINE_FONTS"/*; do
    [ -e "$font" ] || continue
    [ -e "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] || return 1
  done
}

# Creates the Wine prefix once, without the crash debugger: a test program that crashes must end
# (and fail its test) rather than wait in winedbg; with QUIL_DPI, at that DPI. Wine's fonts are
# copied into it before any program of ours starts there (also into a prefix made before they
# were). Safe to run from several processes at once. Call it with the display already started: the
# wineserver that making the prefix starts keeps running for a while, with its desktop on the
# display it found, and a program started meanwhile joins that server. Made without a display,
# that desktop has no display driver and the program cannot make a window; so without one, the
# server is waited for here.
quil_prepare_prefix() {
  local marker="$WINEPREFIX/.quil-prepared"
  [ -f "$marker" ] && quil_fonts_copied && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ -f "$marker" ]; then
      quil_fonts_copied || quil_copy_fonts
    else
      echo "preparing the Wine prefix $WINEPREFIX" >&2
      wineboot --init </dev/null >/dev/null 2>&1 || true
      wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
        </dev/null >/dev/null 2>&1 || true
      if [ -n "${QUIL_DPI:-}" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QUIL_DPI" /f \
          </dev/null >/dev/null 2>&1 || true
      fi
      quil_copy_fonts
      if [ -z "${DISPLAY:-}" ]; then
        timeout 60 wineserver -w >/dev/null 2>&1 || wineserver -k >/dev/null 2>&1 || true
      fi
      touch "$marker"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Prepares the prefix and keeps a wineserver with Wine's own background programs running for the
# tests: the services, and the desktop process that every window needs, held in use by the program
# given as the first argument (quil-hold-desktop.exe) until the wineserver ends. They are started
# here, with their output going nowhere: started by the first test that needs them instead, they
# would keep that test's output pipe open, and ctest would wait for them, for minutes. The server
# that made the prefix is waited for first, so that the persistent one is the one that stays.
quil_prepare_wine() {
  quil_prepare_prefix
  # A persistent server left by an interrupted run never ends by itself: it is ended after a while.
  timeout 60 wineserver -w >/dev/null 2>&1 || wineserver -k >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  if [ -n "${1:-}" ]; then
    wine "$1" </dev/null >/dev/null 2>&1 &
  fi
}

# Stops the wineservers of the project's prefix and of its DPI prefixes (its name and "-" and a
# number), and the display.
quil_cleanup() {
  local prefix
  for prefix in "$QUIL_WINEPREFIX" "$QUIL_WINEPREFIX"-[0-9]*; do
    [[ "$prefix" == "$QUIL_WINEPREFIX" || "${prefix#"$QUIL_WINEPREFIX"-}" =~ ^[0-9]+$ ]] || continue
    [ -f "$prefix/.quil-prepared" ] || continue
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  done
  quil_stop_display
}
