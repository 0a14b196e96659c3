#!/usr/bin/env bash
# Runs every fuzzer in the given build folder for the given number of seconds,
# each from its seed corpus (fuzz/corpus/<name>/) copied to a scratch folder.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
for fuzzer in "$build"/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  work=$(mktemp -d)
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name/." "$work/"
  echo "-- $name: ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
       "$work" > "$work.log" 2>&1; then
    tail -n 40 "$work.log"
    status=1
  else
    grep -E 'stat::number_of_executed_units' "$work.log" || true
  fi
  rm -rf "$work" "$work.log"
done
exit $status
