#!/usr/bin/env bash
# The test command's last step: runs the run command's whole flow as on a new machine, in a Wine
# prefix that does not exist yet and with no display set (so that it starts its own), in a scratch
# folder removed afterwards. Fails unless the run command ends with status 0 and each of its three
# screenshots shows the dialog: the dialog's size at 96 DPI, and many colors (not a blank or black
# window).
set -uo pipefail
cd "$(dirname "$0")/.."

# The dialog's client area at 96 DPI under Wine, in pixels.
expected_size="554x358"
# A page of the dialog holds a few hundred colors (the banner, the scheme's colors, smoothed text);
# a blank or black window holds one or two.
least_colors=64

fresh="$(mktemp -d /tmp/quil-run-check.XXXXXX)"
finish() {
  WINEPREFIX="$fresh/prefix" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$fresh"
}
trap finish EXIT

started=$SECONDS
if ! env -u DISPLAY -u WINEPREFIX -u QUIL_DPI QUIL_WINEPREFIX="$fresh/prefix" \
    QUIL_SCRATCH="$fresh/scratch" scripts/run.sh </dev/null >"$fresh/run.log" 2>&1; then
  echo "check-run: the run command failed on a new Wine prefix; its output:" >&2
  cat "$fresh/run.log" >&2
  exit 1
fi
status=0
for shot in 1-general 2-colors 3-plugins; do
  file="$fresh/scratch/screenshots/$shot.png"
  if [ ! -f "$file" ]; then
    echo "check-run: $shot.png was not taken" >&2
    status=1
    continue
  fi
  size="$(identify -format '%wx%h' "$file")"
  colors="$(convert "$file" -format '%k' info:)"
  if [ "$size" != "$expected_size" ]; then
    echo "check-run: $shot.png is $size, not the dialog's $expected_size" >&2
    status=1
  elif [ "$colors" -lt "$least_colors" ]; then
    echo "check-run: $shot.png holds $colors colors, fewer than $least_colors: no dialog on it" >&2
    status=1
  else
    echo "check-run: $shot.png shows the dialog ($size, $colors colors)"
  fi
done
echo "check-run: the run command's first run took $((SECONDS - started)) s"
exit $status
