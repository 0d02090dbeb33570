#!/usr/bin/env bash
# Fails when a program imports a DLL that a clean 32-bit Windows does not have (only Windows' own
# DLLs and its api-ms-win-* sets may appear in the import tables), or lacks one of the protections
# its PE header asks Windows for: a randomised load address (DYNAMIC_BASE), no code run from data
# (NX_COMPAT) and no compatibility shims for programs unaware of Terminal Services.
# Usage: check-imports.sh OBJDUMP PROGRAM...
set -uo pipefail
objdump="$1"
shift
allowed='^(kernel32|user32|gdi32|shell32|comctl32|comdlg32|advapi32|ole32|msvcrt)\.dll$|^api-ms-win-'
required="DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE"
status=0
for program in "$@"; do
  header=$("$objdump" -p "$program")
  dlls=$(echo "$header" | sed -n 's/^[[:space:]]*DLL Name: //p')
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
  # The flags are listed one a line after the DllCharacteristics value, up to the next field.
  flags=$(echo "$header" | sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' |
    sed -n 's/^[[:space:]]\+\([A-Z_]\+\)$/\1/p')
  echo "$(basename "$program"): $(echo $flags)"
  for flag in $required; do
    if ! echo "$flags" | grep -qx "$flag"; then
      echo "$program does not set $flag in its PE header" >&2
      status=1
    fi
  done
done
exit $status
