#!/usr/bin/env bash
# Whole-process side by side: `javaorvel-cli members CLASS` against
# `javap -public CLASS`, alternating A and B in the same run, then the peak
# memory of one run of each (/usr/bin/time -v).
# usage: bench/classlib_compare.sh [BUILD_DIR] [CLASS] [ROUNDS]
set -euo pipefail
build=${1:-build}
class=${2:-javax.swing.JTable}
rounds=${3:-20}
cli="$build/javaorvel-cli"
[ -x "$cli" ] || { echo "no $cli: build it first" >&2; exit 2; }
javap=$(command -v javap) || { echo "no javap on PATH" >&2; exit 2; }

a=(); b=()
"$cli" members "$class" >/dev/null; "$javap" -public "$class" >/dev/null   # warm the page cache
for ((i = 0; i < rounds; i++)); do
  t0=${EPOCHREALTIME/./}; "$cli" members "$class" >/dev/null; t1=${EPOCHREALTIME/./}
  "$javap" -public "$class" >/dev/null; t2=${EPOCHREALTIME/./}
  a+=($((t1 - t0))); b+=($((t2 - t1)))   # microseconds (bash's EPOCHREALTIME: no extra process)
done
stats() {  # median and mean of microsecond values
  sort -n | awk '{v[NR]=$1; s+=$1} END {m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2; printf "median %.2f ms  mean %.2f ms", m/1000, s/NR/1000}'
}
ma=$(printf '%s\n' "${a[@]}" | sort -n | awk '{v[NR]=$1} END {print (NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2}')
mb=$(printf '%s\n' "${b[@]}" | sort -n | awk '{v[NR]=$1} END {print (NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2}')
echo "$rounds rounds, alternating, class $class"
echo "A javaorvel-cli members: $(printf '%s\n' "${a[@]}" | stats)"
echo "B javap -public:         $(printf '%s\n' "${b[@]}" | stats)"
awk -v a="$ma" -v b="$mb" 'BEGIN {printf "B/A (medians): %.1fx\n", b/a}'
if [ -x /usr/bin/time ]; then
  ra=$(/usr/bin/time -v "$cli" members "$class" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {print $2}')
  rb=$(/usr/bin/time -v "$javap" -public "$class" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {print $2}')
  echo "peak RSS: javaorvel-cli $((ra / 1024)) MB ($ra kB), javap $((rb / 1024)) MB ($rb kB)"
fi
