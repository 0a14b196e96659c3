#!/usr/bin/env bash
# Time from starting the window with --project to the window shown, with a
# cold classpath cache and a build tool that takes SECONDS to answer (a fake
# mvn on PATH, so the number is ours and not the JVM's). Needs an X display
# (Xvfb) and xdotool.
# usage: DISPLAY=:N bench/project_window_start.sh [BINARY] [SECONDS] [ROUNDS]
set -euo pipefail
app=$(realpath "${1:-build/javaorvel}")
seconds=${2:-5}
rounds=${3:-3}
[ -x "$app" ] || { echo "no $app: build it first" >&2; exit 2; }
command -v xdotool >/dev/null || { echo "no xdotool" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY" >&2; exit 2; }
work=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/bin" "$work/proj"
echo '<project><modelVersion>4.0.0</modelVersion></project>' > "$work/proj/pom.xml"
cat > "$work/bin/mvn" <<TOOL
#!/bin/sh
for a; do case "\$a" in -Dmdep.outputFile=*) out=\${a#-Dmdep.outputFile=};; esac; done
sleep $seconds
printf '/nonexistent/a.jar' > "\$out"
TOOL
chmod +x "$work/bin/mvn"
for round in $(seq "$rounds"); do
  rm -rf "$work/cache" "$work/cwd"; mkdir -p "$work/cwd"
  start=$(date +%s%N)
  (cd "$work/cwd" && PATH="$work/bin:$PATH" XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/cwd" \
    exec "$app" --project "$work/proj") >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do sleep 0.02; done
  shown=$(( ($(date +%s%N) - start) / 1000000 ))
  echo "round $round: window shown after $shown ms (tool takes ${seconds} s)"
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
done
