#!/usr/bin/env bash
# Builds the window and the CLI with the release preset (build-release/), as a
# user's build does: warnings are shown but never stop it. With --no-warnings
# (the test command) any compiler warning fails the build afterwards, so the
# project's own checks stay as strict as -Werror on exactly the user's flags.
set -euo pipefail
cd "$(dirname "$0")/.."
strict=0
[ "${1:-}" = --no-warnings ] && strict=1
log=$(mktemp)
trap 'rm -f "$log"' EXIT
cmake --preset release >/dev/null
cmake --build --preset release --target javaorvel javaorvel-cli 2>&1 | tee "$log"
if [ "$strict" -eq 1 ] && grep -q 'warning:' "$log"; then
  grep -B12 -A3 'warning:' "$log" >&2   # with the "inlined from" lines that name our code
  echo "build-release: the release build printed compiler warnings (above); a user's build must be clean" >&2
  exit 1
fi
