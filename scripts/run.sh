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

# QUIL_SCRATCH puts the skin and the screenshots elsewhere (the test command's check of this flow
# uses a folder of its own).
scratch="${QUIL_SCRATCH:-$root/scratch}"
skins="$scratch/skins"
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

if [ -n "${DISPLAY:-}" ]; then
  quil_prepare_prefix
  cd "$skin"
  exec wine QuilConfig.exe "$@"
fi

# The display comes first: the Wine prefix, made on the first run, is then made on it.
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
quil_prepare_prefix

(cd "$skin" && exec wine QuilConfig.exe "$@") &
program_pid=$!

title="Quil Configuration Utility"
shown=0
for _ in $(seq 1 600); do
  if xwininfo -name "$title" >/dev/null 2>&1; then
    shown=1
    break
  fi
  if ! kill -0 "$program_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ "$shown" -ne 1 ]; then
  status=""
  if ! kill -0 "$program_pid" 2>/dev/null; then
    status=0
    wait "$program_pid" || status=$?
    program_pid=""
  fi
  echo "run: the QuilConfig window did not show${status:+ (QuilConfig ended with status $status)}" >&2
  exit 1
fi
window="$(xwininfo -name "$title" | awk '/Window id:/ {print $4}')"
shots="$scratch/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
show_page="$root/build/windows/tests/quil-show-page.exe"

# Takes the screenshot of a page once Wine has put the page on the screen: the picture must differ
# from the previous page's (or, for the first, hold more than a few colors), and two pictures taken
# one after the other must be the same. Gives up after about 30 s.
capture() { # file previous-file
  local file="$1" previous="$2" tries
  for tries in $(seq 1 150); do
    import -window "$window" "$file.a.png" 2>/dev/null || { sleep 0.2; continue; }
    if [ -n "$previous" ]; then
      compare -metric AE "$file.a.png" "$previous" null: >/dev/null 2>&1 && { sleep 0.2; continue; }
    elif [ "$(convert "$file.a.png" -format %k info:)" -lt 16 ]; then
      sleep 0.2
      continue
    fi
    sleep 0.2
    import -window "$window" "$file" 2>/dev/null || continue
    if compare -metric AE "$file" "$file.a.png" null: >/dev/null 2>&1; then
      rm -f "$file.a.png"
      return 0
    fi
  done
  rm -f "$file.a.png"
  return 1
}

index=0
previous=""
for page in general colors plugins; do
  if ! wine "$show_page" "$index" </dev/null; then
    echo "run: could not switch the dialog to its $page page" >&2
    exit 1
  fi
  index=$((index + 1))
  if ! capture "$shots/$index-$page.png" "$previous"; then
    echo "run: the dialog's $page page did not show on the screen within 30 s" >&2
    exit 1
  fi
  previous="$shots/$index-$page.png"
done
wine "$show_page" close </dev/null || true
status=0
wait "$program_pid" || status=$?
program_pid=""
if [ "$status" -ne 0 ]; then
  echo "run: QuilConfig ended with status $status" >&2
  exit 1
fi
echo "run: QuilConfig showed its window${QUIL_DPI:+ at $QUIL_DPI DPI}; screenshots of its pages are in $shots:"
echo "  1-general.png (the General page), 2-colors.png (the Colors page), 3-plugins.png (the Plugins page)"
