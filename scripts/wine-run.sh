#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest: quiet, in the project's own Wine prefix, without
# installer dialogs. scripts/test.sh prepares the prefix and the display beforehand.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-quil}"
export WINEARCH=win32
exec wine "$@"
