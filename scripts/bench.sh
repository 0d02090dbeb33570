#!/usr/bin/env bash
# The benchmark: how long QuilConfig.exe takes to start under Wine, against a bare window made of
# its own dialog templates (tests/bench), and how long Save of "(default)" takes against copying the
# files it writes. Not a test: it prints medians and ratios and fails only when a program does not
# start, show its dialog or close.
#
#   scripts/bench.sh [RUNS] [--program QuilConfig.exe]
#
# RUNS (at least 21, the default) is the number of timed runs of each program in each comparison;
# the runs alternate between the two, so that both meet the same load of the machine. --program
# times another build of QuilConfig.exe instead of this tree's (to compare before and after).
#
# The skins are scratch copies of the sample skin under scratch/bench/, grown with copies of one
# plugin and one scheme: the sample itself, 200 plugins with 50 schemes, and 2000 plugins against
# none for the cost of one plugin. Half of the added plugins are enabled in config.dtd.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

runs=21
program=""
while [ $# -gt 0 ]; do
  case "$1" in
    --program)
      program="$(realpath "$2")"
      shift 2
      ;;
    *)
      runs="$1"
      shift
      ;;
  esac
done
if ! [ "$runs" -ge 21 ] 2>/dev/null; then
  echo "bench: at least 21 runs of each program" >&2
  exit 2
fi

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target QuilConfig quil_bare_window quil_bench >/dev/null
build="$root/build/windows"
[ -n "$program" ] || program="$build/window/QuilConfig.exe"
if [ ! -f "$program" ]; then
  echo "bench: $program does not exist" >&2
  exit 1
fi

source scripts/lib.sh
trap quil_cleanup EXIT
quil_start_display
quil_prepare_wine

# The Windows form of a host path: the host's root is drive Z: under Wine.
winpath() { echo "Z:${1//\//\\}"; }

# The names of the folders under $1/plugins that the plugin list shows.
listed_plugins() {
  local folder name
  for folder in "$1"/plugins/*/; do
    name="$(basename "$folder")"
    case "${name,,}" in default | .* | '!'*) continue ;; esac
    if grep -Eqi '^[[:space:]]*description[[:space:]]*=[[:space:]]*[^[:space:]]' \
      "$folder/plugin.ini" 2>/dev/null || [ -f "$folder/plugin.txt" ] || [ -f "$folder/desc.txt" ]; then
      echo "$name"
    fi
  done
}

# The names of the folders under $1/mods that the scheme box lists.
listed_schemes() {
  local folder name
  for folder in "$1"/mods/*/; do
    name="$(basename "$folder")"
    case "${name,,}" in all | .* | '!'*) continue ;; esac
    echo "$name"
  done
}

# Copies the sample skin to $1 and grows it (or cuts it) to $2 listed plugins and, when given, $3
# listed schemes, with copies of the plugin emoticons_big and the scheme green.
grow_skin() {
  local skin="$1" plugins="$2" schemes="${3:-}" i name have
  rm -rf "$skin"
  mkdir -p "$(dirname "$skin")"
  cp -r sample/Quil "$skin"
  have=$(listed_plugins "$skin" | wc -l)
  if [ "$plugins" -lt "$have" ]; then
    listed_plugins "$skin" | tail -n +$((plugins + 1)) | while read -r name; do
      rm -rf "${skin:?}/plugins/$name"
    done
  fi
  for ((i = 1; i <= plugins - have; i++)); do
    name="$(printf 'bench%04d' "$i")"
    cp -r "$skin/plugins/emoticons_big" "$skin/plugins/$name"
    printf '[Plugin]\r\nDescription=Benchmark plugin %d\r\nVariable=%s\r\nPriority=%d\r\n' \
      "$i" "$name" $((i % 10)) >"$skin/plugins/$name/plugin.ini"
    if [ $((i % 2)) -eq 0 ]; then
      printf '<!ENTITY %% modpack_%s "%s"> <!ENTITY modpack_%s "%s">\r\n' \
        "$name" "$name" "$name" "$name" >>"$skin/config.dtd"
    fi
  done
  if [ -n "$schemes" ]; then
    have=$(listed_schemes "$skin" | wc -l)
    for ((i = 1; i <= schemes - have; i++)); do
      cp -r "$skin/mods/green" "$skin/mods/$(printf 'bench%03d' "$i")"
    done
  fi
}

driver="$(winpath "$build/tests/bench/quil_bench.exe")"
quil="$(winpath "$program")"
bare="$(winpath "$build/tests/bench/quil_bare_window.exe")"
bench() { wine "$driver" "$@" </dev/null; }

scratch="$root/scratch/bench"
rm -rf "$scratch"
mkdir -p "$scratch"

echo "QuilConfig.exe: $program"
echo "$runs timed runs of each, alternating; medians in milliseconds."
echo "The machine may be shared: compare figures of one run, not across runs."

cp -r sample/Quil "$scratch/sample"
echo
echo "== start-up, the sample skin ($(listed_plugins "$scratch/sample" | wc -l) plugins," \
  "$(listed_schemes "$scratch/sample" | wc -l) schemes) =="
bench start "$runs" QuilConfig.exe "$quil" "$(winpath "$scratch/sample")" \
  "bare window" "$bare" "$(winpath "$scratch/sample")"

grow_skin "$scratch/grown" 200 50
echo
echo "== start-up, 200 plugins and 50 schemes =="
bench start "$runs" QuilConfig.exe "$quil" "$(winpath "$scratch/grown")" \
  "bare window" "$bare" "$(winpath "$scratch/grown")"

grow_skin "$scratch/many" 2000
grow_skin "$scratch/none" 0
echo
echo "== start-up, 2000 plugins against none (the sample's schemes) =="
report="$(bench start "$runs" "2000 plugins" "$quil" "$(winpath "$scratch/many")" \
  "no plugins" "$quil" "$(winpath "$scratch/none")")"
echo "$report"
medians="$(echo "$report" | sed -n 's/^medians //p')"
awk -v m="$medians" 'BEGIN { split(m, t, " "); printf "  each further plugin: %.3f ms\n", (t[1] - t[2]) / 2000 }'

grow_skin "$scratch/save" 200 50
echo
echo "== Save of \"(default)\", 200 plugins (half of the added ones enabled) and 50 schemes =="
bench save "$runs" "$(winpath "$scratch/save")"
