#!/usr/bin/env bash
# The README's run command: builds the Windows programs, copies the sample skin into a fresh
# scratch skins folder (scratch/skins/Quil) together with QuilConfig.exe and redirect.exe, and runs
# QuilConfig.exe there under Wine, with the skin folder as its current folder. Arguments are passed
# on to QuilConfig.exe ("/showhidden", "/restore").
#
# With a display the program simply runs. Without one, Xvfb is started, the program is started in
# the background, and as soon as its window shows a screenshot of the screen is saved as
# scratch/screenshot-<time>.png; then the program is ended.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target QuilConfig redirect

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
cp build/windows/platform/win32/shell/QuilConfig.exe build/windows/launcher/redirect.exe "$skin/"
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
    # display goes after them.
    timeout 10 wineserver -w >/dev/null 2>&1 || true
    kill "$QUIL_XVFB_PID" 2>/dev/null || true
  fi
}
trap stop EXIT

(cd "$skin" && exec wine QuilConfig.exe "$@") &
program_pid=$!

shown=0
for _ in $(seq 1 600); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Quil'; then
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
sleep 1  # let the window paint
shot="$root/scratch/screenshot-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot"
echo "run: QuilConfig showed its window; screenshot saved as $shot"
