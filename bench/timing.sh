# Sourced by the whole-process comparisons.
# The median of numbers given one a line or blank-separated.
median() { tr ' ' '\n' | grep . | sort -n | awk '{v[NR]=$1} END {print (NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2}'; }
# One run's wall time in microseconds, its output dropped.
time_us() { local t0=${EPOCHREALTIME/./}; "$@" >/dev/null; echo $((${EPOCHREALTIME/./} - t0)); }
# Microseconds as milliseconds with two decimals.
ms() { awk -v u="$1" 'BEGIN {printf "%.2f", u/1000}'; }
# Each of the given subcommands of $cli run once (the page cache warm, any
# cache written), then $rounds rounds alternating them; times[SUBCOMMAND]
# collects each run's microseconds.
declare -A times
alternate() {
  local r i
  for r in "$@"; do $cli $r >/dev/null || true; done
  for ((i = 0; i < rounds; i++)); do
    for r in "$@"; do times[$r]+="$(time_us $cli $r) "; done
  done
}
# A line for a median of microseconds LIST and its ratio to BASE's: LABEL LIST BASE.
against() {
  awk -v m="$(echo "$2" | median)" -v b="$(echo "$3" | median)" -v r="$1" \
    'BEGIN {printf "%-26s median %.2f ms  %.2fx resolve Vector\n", r, m/1000, m/b}'
}
