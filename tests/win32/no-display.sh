#!/usr/bin/env bash
# QuilConfig.exe started where no dialog can be made (its display does not exist) must end with a
# non-zero status rather than as if it had been closed normally.
# Usage: no-display.sh WINE-RUN QUILCONFIG-EXE
set -uo pipefail
wine_run="$1"
program="$2"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/"
# A display number whose server does not exist: no socket file and no abstract socket.
for n in $(seq 4000 4100); do
  [ -e "/tmp/.X11-unix/X$n" ] && continue
  grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null && continue
  break
done
(cd "$folder" && DISPLAY=":$n" timeout 120 "$wine_run" QuilConfig.exe </dev/null >/dev/null 2>&1)
status=$?
if [ "$status" -eq 0 ]; then
  echo "QuilConfig.exe ended with status 0 on the display :$n, which does not exist" >&2
  exit 1
fi
echo "QuilConfig.exe ended with status $status without a display"
