#!/usr/bin/env bash
# The long fuzzing run: builds the preset "fuzz" and runs every fuzz target for SECONDS each
# (default 600), two at a time, starting from its seed corpus. Each target's new inputs, log and
# findings (crash-*, leak-*, timeout-* files) collect under build/fuzz/long/<target>/. Prints each
# target's final libFuzzer line (executions, cov, ft) and exits non-zero when any target reported
# a finding. Usage: scripts/fuzz.sh [seconds per target]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
scripts/setup.sh || exit 1
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || exit 1

bin=build/fuzz/tests/fuzz
targets=()
for seeds in tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done

run_target() {
  local target=$1 work=build/fuzz/long/$1
  mkdir -p "$work"
  tests/fuzz/run-fuzzer.sh "$bin/$target" "tests/fuzz/corpus/$target" "$work" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 >"$work/log" 2>&1
  echo $? >"$work/status"
}

running=0
for target in "${targets[@]}"; do
  if [ $running -ge 2 ]; then
    wait -n
    running=$((running - 1))
  fi
  echo "fuzz: $target for ${seconds}s"
  run_target "$target" &
  running=$((running + 1))
done
wait

status=0
for target in "${targets[@]}"; do
  work=build/fuzz/long/$target
  final=$(grep -E '^#[0-9]+' "$work/log" | tail -n 1)
  if [ "$(cat "$work/status")" = 0 ]; then
    echo "$target: ok   $final"
  else
    echo "$target: FINDING (see $work/log)   $final"
    status=1
  fi
done
exit $status
