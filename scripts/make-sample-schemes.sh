#!/bin/sh
# Regenerates the color schemes of the sample skin (sample/Quil/mods) with the utility's own color
# writers: builds the portable core natively, compiles scripts/make-sample-schemes.cpp against it
# and runs it on the sample skin.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/sample-schemes"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUIL_TESTS=OFF >/dev/null
cmake --build "$build" --target quilcore >/dev/null
c++ -std=c++20 -O1 -Wall -Wextra -I"$root" "$root/scripts/make-sample-schemes.cpp" \
  "$build/libquilcore.a" -o "$build/make-sample-schemes"
"$build/make-sample-schemes" "$root/sample/Quil"
