#!/usr/bin/env bash
# Whole-process side by side: `javaorvel-cli find toUnmodifiableList` with its
# index on disk against `resolve Vector` (a catalogue hit, no class read),
# alternating in the same run (target: within 3x); then `find` after a new JDK,
# its cache folder empty each time (target: under 1 s).
# usage: bench/find_compare.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
build=${1:-build}
rounds=${2:-20}
cli="$build/javaorvel-cli"
[ -x "$cli" ] || { echo "no $cli: build it first" >&2; exit 2; }
unset CLASSPATH
cache=$(mktemp -d)
trap 'rm -rf "$cache"' EXIT
export XDG_CACHE_HOME="$cache/warm"

runs=("resolve Vector" "find toUnmodifiableList")
declare -A times
for r in "${runs[@]}"; do $cli $r >/dev/null; done   # the index written, the page cache warm
for ((i = 0; i < rounds; i++)); do
  for r in "${runs[@]}"; do
    t0=${EPOCHREALTIME/./}; $cli $r >/dev/null; t1=${EPOCHREALTIME/./}
    times[$r]+="$((t1 - t0)) "
  done
done
cold=""
for ((i = 0; i < rounds / 4 + 1; i++)); do
  export XDG_CACHE_HOME="$cache/cold$i"
  t0=${EPOCHREALTIME/./}; $cli find toUnmodifiableList >/dev/null; t1=${EPOCHREALTIME/./}
  cold+="$((t1 - t0)) "
done
base=$(echo "${times[resolve Vector]}" | median)
echo "$rounds rounds, alternating, no CLASSPATH"
for r in "${runs[@]}"; do
  m=$(echo "${times[$r]}" | median)
  awk -v m="$m" -v b="$base" -v r="$r" 'BEGIN {printf "%-26s median %.2f ms  %.2fx resolve Vector\n", r, m/1000, m/b}'
done
m=$(echo "$cold" | median)
awk -v m="$m" -v b="$base" 'BEGIN {printf "%-26s median %.2f ms  %.2fx resolve Vector\n", "find, empty cache", m/1000, m/b}'
