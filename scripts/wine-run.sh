#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest: quiet, in the project's own Wine prefix (made on
# first use) or, for a test that ctest runs with QUIL_DPI, in that DPI's prefix, without installer
# dialogs or the crash debugger. scripts/test.sh also provides a display and keeps a wineserver
# running beforehand in each of them.
source "$(dirname "$0")/lib.sh"
quil_prepare_prefix
exec wine "$@"
