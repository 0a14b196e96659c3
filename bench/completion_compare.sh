#!/usr/bin/env bash
# Whole-process side by side: `javaorvel-cli resolve Vector` (a catalogue hit,
# no class read) against `resolve Optional` (the class index) and
# `complete Str`, alternating in the same run. Targets: resolve Optional
# within 2x of resolve Vector, complete Str within 2.5x. CLASSPATH holds JAR
# (about 600 KB; commons-lang3 when installed) for the whole run. JAR may be
# a whole CLASSPATH instead: with '/usr/share/java/*' (hundreds of jars, each
# opened and listed by the class index) complete Str should stay within 3x.
# usage: bench/completion_compare.sh [BUILD_DIR] [ROUNDS] [JAR|CLASSPATH]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
build=${1:-build}
rounds=${2:-40}
jar=${3:-/usr/share/java/commons-lang3.jar}
cli="$build/javaorvel-cli"
[ -x "$cli" ] || { echo "no $cli: build it first" >&2; exit 2; }
if [ -f "$jar" ] || [[ "$jar" == *[*:]* ]]; then export CLASSPATH="$jar"; else unset CLASSPATH; jar="(none)"; fi

runs=("resolve Vector" "resolve Optional" "complete Str")
alternate "${runs[@]}"
echo "$rounds rounds, alternating, CLASSPATH=$jar"
for r in "${runs[@]}"; do against "$r" "${times[$r]}" "${times[resolve Vector]}"; done
