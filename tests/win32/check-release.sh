#!/usr/bin/env bash
# Makes the release zip from the built programs (as the package target does, into a folder of its
# own) and fails when a program in it carries debug sections, imports a DLL that Windows lacks or
# lacks a protection of its PE header (check-imports.sh).
# Usage: check-release.sh OBJDUMP CPACK-CONFIG CHECK-IMPORTS
set -uo pipefail
objdump="$1"
config="$2"
check_imports="$3"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
if ! cpack --config "$config" -B "$folder" >"$folder/cpack.log" 2>&1; then
  cat "$folder/cpack.log" >&2
  echo "the release zip could not be made" >&2
  exit 1
fi
zip=$(ls "$folder"/*.zip 2>/dev/null | head -n 1)
if [ -z "$zip" ]; then
  echo "cpack made no zip" >&2
  exit 1
fi
mkdir "$folder/unpacked"
(cd "$folder/unpacked" && cmake -E tar xf "$zip") || exit 1
status=0
programs=()
for name in QuilConfig.exe redirect.exe; do
  program="$folder/unpacked/$name"
  if [ ! -f "$program" ]; then
    echo "$(basename "$zip") has no $name" >&2
    status=1
    continue
  fi
  programs+=("$program")
  debug=$("$objdump" -h "$program" | awk '$2 ~ /^\.debug/ {print $2}')
  if [ -n "$debug" ]; then
    echo "$name in $(basename "$zip") carries debug sections: $(echo $debug)" >&2
    status=1
  fi
  echo "$name: $(stat -c %s "$program") bytes in the zip"
done
if [ ${#programs[@]} -gt 0 ]; then "$check_imports" "$objdump" "${programs[@]}" || status=1; fi
exit $status
