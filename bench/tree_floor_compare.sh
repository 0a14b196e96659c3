#!/usr/bin/env bash
# Whole-process side by side, alternating in the same run: the Qt Core floor
# (bench_qt_core_floor), `javaorvel-cli tree CLASS` and `javap -public CLASS`.
# Target: tree's time above the floor at most 0.02x of javap's.
# usage: bench/tree_floor_compare.sh [BUILD_DIR] [CLASS] [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
build=${1:-build}
class=${2:-javax.swing.JTable}
rounds=${3:-20}
cli="$build/javaorvel-cli"
floor="$build/bench/bench_qt_core_floor"
for f in "$cli" "$floor"; do [ -x "$f" ] || { echo "no $f: build it first" >&2; exit 2; }; done
javap=$(command -v javap) || { echo "no javap on PATH" >&2; exit 2; }

runs=("$floor" "$cli tree $class" "$javap -public $class")
declare -A times
for r in "${runs[@]}"; do $r >/dev/null; done   # warm the page cache
for ((i = 0; i < rounds; i++)); do
  for r in "${runs[@]}"; do
    t0=${EPOCHREALTIME/./}; $r >/dev/null; t1=${EPOCHREALTIME/./}
    times[$r]+="$((t1 - t0)) "
  done
done
f=$(echo "${times[${runs[0]}]}" | median)
t=$(echo "${times[${runs[1]}]}" | median)
j=$(echo "${times[${runs[2]}]}" | median)
echo "$rounds rounds, alternating, class $class (medians)"
awk -v f="$f" -v t="$t" -v j="$j" 'BEGIN {
  printf "Qt Core floor      %.2f ms\n", f/1000
  printf "javaorvel-cli tree %.2f ms (%.2f ms above the floor)\n", t/1000, (t-f)/1000
  printf "javap -public      %.2f ms\n", j/1000
  printf "(tree - floor) / javap = %.4f (target <= 0.02)\n", (t-f)/j }'
