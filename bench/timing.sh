# Sourced by the whole-process comparisons.
# The median of numbers given one a line or blank-separated.
median() { tr ' ' '\n' | grep . | sort -n | awk '{v[NR]=$1} END {print (NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2}'; }
# One run's wall time in microseconds, its output dropped.
time_us() { local t0=${EPOCHREALTIME/./}; "$@" >/dev/null; echo $((${EPOCHREALTIME/./} - t0)); }
# Microseconds as milliseconds with two decimals.
ms() { awk -v u="$1" 'BEGIN {printf "%.2f", u/1000}'; }
