#!/usr/bin/env bash
# Builds the presets and runs every test: the native tests (under the sanitizers), a bounded run
# of every fuzz target, then the Windows tests under Wine. Exits non-zero when any build step or
# test fails.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1
# The tests run in the project's prefix; the scaling test picks a prefix for each of its DPIs.
unset QUIL_DPI
source scripts/lib.sh
trap quil_cleanup EXIT

cmake --preset native >/dev/null && cmake --build --preset native || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows || exit 1

quil_start_display || exit 1
hold_desktop=build/windows/tests/quil-hold-desktop.exe
quil_prepare_wine "$hold_desktop"
# The scaling test runs at several DPIs, each in a prefix of its own (tests/e2e/CMakeLists.txt
# names them, ctest lists them): those prefixes are prepared the same way.
dpis=$(ctest --preset windows -N -R '^Dpi/' | sed -n 's|^ *Test *#[0-9]*: Dpi/.*/\([0-9]*\)$|\1|p')
for dpi in $dpis; do
  (
    export QUIL_DPI="$dpi"
    source scripts/lib.sh
    quil_prepare_wine "$hold_desktop"
  )
done

status=0
echo "== native tests =="
ctest --preset native -j2 || status=1
echo "== fuzz targets: a bounded run of each on its seed corpus =="
{ cmake --preset fuzz >/dev/null && cmake --build --preset fuzz && ctest --preset fuzz -j2; } ||
  status=1
echo "== Windows tests under Wine =="
ctest --preset windows -j2 || status=1
echo "== the run command on a new machine: a new Wine prefix, its own display =="
scripts/check-run.sh || status=1
exit $status
