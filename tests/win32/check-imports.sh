#!/usr/bin/env bash
# Fails when a program imports a DLL that a clean 32-bit Windows does not have: only Windows' own
# DLLs (and its api-ms-win-* sets) may appear in the import tables.
# Usage: check-imports.sh OBJDUMP PROGRAM...
set -uo pipefail
objdump="$1"
shift
allowed='^(kernel32|user32|gdi32|shell32|comctl32|comdlg32|advapi32|msvcrt)\.dll$|^api-ms-win-'
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
  if [ -z "$dlls" ]; then
    echo "$program: no import table found" >&2
    status=1
    continue
  fi
  echo "$(basename "$program"): $(echo $dlls)"
  while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "$program imports $dll, which Windows does not provide" >&2
      status=1
    fi
  done <<<"$dlls"
done
exit $status
