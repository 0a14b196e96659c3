#!/usr/bin/env bash
# Starts the window built by the run command headless, from a fresh working
# folder holding its images, and checks that it comes up and closes on SIGTERM
# within a few seconds, writing its configuration as it closes.
#
#   scripts/smoke-window.sh [BUILD_DIR]     (default: build-release)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
build=$(cd "${1:-build-release}" && pwd) || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp assets/pf.gif assets/bluedot.gif assets/bluedot2.gif "$work/"
fail() { echo "smoke-window: FAIL: $*" >&2; exit 1; }

cd "$work" || exit 1
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" "$build/javaorvel" >"$work/out" 2>"$work/err" &
pid=$!
# Up: alive after two seconds (a start-up failure ends it sooner).
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the window ended at start-up: $(tr '\n' ' ' <"$work/err")"
kill -TERM "$pid"
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  kill -KILL "$pid"
  fail "the window did not close within 5 s of SIGTERM"
fi
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "the window exited with status $status on SIGTERM: $(tr '\n' ' ' <"$work/err")"
[ -f "$work/JavaOrvel.cfg" ] || fail "the window wrote no JavaOrvel.cfg as it closed"
echo "smoke-window: the window came up from a fresh working folder and closed on SIGTERM (status 0)"
