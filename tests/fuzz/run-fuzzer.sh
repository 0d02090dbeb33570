#!/usr/bin/env bash
# Runs one fuzz target on its seed corpus: run-fuzzer.sh TARGET SEEDS WORK [libFuzzer flags...].
# New inputs go to WORK/corpus (the seed folder stays as it is), findings to WORK/ as
# crash-*, leak-*, timeout-* files. Exits non-zero when the target reports a finding.
set -euo pipefail
mkdir -p "$3/corpus"
# Absolute paths: the targets change the current folder to their scratch skin.
target=$(realpath "$1") seeds=$(realpath "$2") work=$(realpath "$3")
shift 3
exec "$target" -artifact_prefix="$work/" -print_final_stats=1 "$@" "$work/corpus" "$seeds"
