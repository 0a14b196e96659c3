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
alternate "${runs[@]}"   # the first run writes the index
cold=""
for ((i = 0; i < rounds / 4 + 1; i++)); do
  export XDG_CACHE_HOME="$cache/cold$i"
  cold+="$(time_us $cli find toUnmodifiableList) "
done
echo "$rounds rounds, alternating, no CLASSPATH"
for r in "${runs[@]}"; do against "$r" "${times[$r]}" "${times[resolve Vector]}"; done
against "find, empty cache" "$cold" "${times[resolve Vector]}"
