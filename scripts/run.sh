#!/usr/bin/env bash
# The README's run command: builds the Windows programs, copies the sample skin into a fresh
# scratch skins folder (scratch/skins/Quil) together with QuilConfig.exe and redirect.exe, and runs
# QuilConfig.exe there under Wine, with the skin folder as its current folder. Arguments are passed
# on to QuilConfig.exe ("/showhidden", "/restore"). QUIL_DPI=144 (or another number of dots per
# inch) runs it in a Wine prefix whose screen has that pixel density (see scripts/lib.sh).
#
# With a display the program simply runs. Without one, Xvfb is started, the program is started in
# the background, and once its window shows, a screenshot of the dialog is saved for each of its
# three pages, scratch/screenshots/1-general.png, 2-colors.png and 3-plugins.png (the sample skin's
# settings, its active color scheme and its plugin list); then the dialog is closed.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target QuilConfig redirect quil-show-page

source scripts/lib.sh

skins="$root/scratch/skins"
skin="$skins/Quil"
rm -rf "$skins"
mkdir -p "$skins"
if [ -d sample/Quil ]; then
  cp -r sample/Quil "$skin"
else
  echo "run: sample/Quil is missing; starting in an empty skin folder" >&2
  mkdir -p "$skin"
fi
cp build/windows/window/QuilConfig.exe build/windows/launcher/redirect.exe "$skin/"
quil_prepare_prefix

if [ -n "${DISPLAY:-}" ]; then
  cd "$skin"
  exec wine QuilConfig.exe "$@"
fi

quil_start_display
program_pid=""
stop() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  if [ -n "$QUIL_XVFB_PID" ]; then
    # Wine's own background programs end with the wineserver, shortly after the program; the
    # window manager and the display go after them.
    timeout 10 wineserver -w >/dev/null 2>&1 || true
    quil_stop_display
  fi
}
trap stop EXIT

(cd "$skin" && exec wine QuilConfig.exe "$@") &
program_pid=$!

shown=0
for _ in $(seq 1 600); do
  if xwininfo -name "Quil Configuration Utility" >/dev/null 2>&1; then
    shown=1
    break
  fi
  if ! kill -0 "$program_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ "$shown" -ne 1 ]; then
  echo "run: the QuilConfig window did not show" >&2
  exit 1
fi
window="$(xwininfo -name "Quil Configuration Utility" | awk '/Window id:/ {print $4}')"
shots="$root/scratch/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
show_page="$root/build/windows/tests/quil-show-page.exe"
sleep 1  # let the window paint
index=0
for page in general colors plugins; do
  if ! wine "$show_page" "$index" </dev/null; then
    echo "run: could not switch the dialog to its $page page" >&2
    exit 1
  fi
  sleep 1
  index=$((index + 1))
  import -window "$window" "$shots/$index-$page.png"
done
wine "$show_page" close </dev/null || true
for _ in $(seq 1 100); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
echo "run: QuilConfig showed its window${QUIL_DPI:+ at $QUIL_DPI DPI}; screenshots of its pages are in $shots:"
echo "  1-general.png (the General page), 2-colors.png (the Colors page), 3-plugins.png (the Plugins page)"
