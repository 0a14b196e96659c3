#!/usr/bin/env bash
# --release's whole-process cost: `javaorvel-cli --release 8 tree CLASS`
# against the same without --release (ct.sym's central directory read once
# per process; target within 1.5x), alternating A and B, then
# `members --since java.util.List` (every held release asked; target < 50 ms).
# usage: bench/release_compare.sh [BUILD_DIR] [CLASS] [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
build=${1:-build}
class=${2:-javax.swing.JTable}
rounds=${3:-20}
cli="$build/javaorvel-cli"
[ -x "$cli" ] || { echo "no $cli: build it first" >&2; exit 2; }

a=(); b=(); c=()
"$cli" --release 8 tree "$class" >/dev/null; "$cli" tree "$class" >/dev/null   # warm the page cache
for ((i = 0; i < rounds; i++)); do
  a+=($(time_us "$cli" --release 8 tree "$class"))
  b+=($(time_us "$cli" tree "$class"))
  c+=($(time_us "$cli" members --since java.util.List))
done
ma=$(ms "$(printf '%s\n' "${a[@]}" | median)"); mb=$(ms "$(printf '%s\n' "${b[@]}" | median)")
echo "$rounds rounds, alternating, class $class (medians, whole process)"
echo "A --release 8 tree:              $ma ms"
echo "B tree:                          $mb ms"
awk -v a="$ma" -v b="$mb" 'BEGIN {printf "A/B: %.2fx (target <= 1.5x)\n", a/b}'
echo "members --since java.util.List:  $(ms "$(printf '%s\n' "${c[@]}" | median)") ms (target < 50 ms)"
