#!/usr/bin/env bash
# `javaorvel-cli --project FIXTURE members CLASS` with a warm classpath cache
# against the same command with CLASSPATH set by hand to the same jars,
# alternating A and B in the same run. The fixture is a Maven project on
# commons-lang3 3.12.0 and commons-io 2.11.0, resolved offline against
# Debian's repository (maven, libmaven-dependency-plugin-java, junit4).
# usage: bench/project_compare.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
build=${1:-build}
rounds=${2:-20}
cli="$build/javaorvel-cli"
class=org.apache.commons.lang3.StringUtils
[ -x "$cli" ] || { echo "no $cli: build it first" >&2; exit 2; }
command -v mvn >/dev/null || { echo "no mvn on PATH" >&2; exit 2; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
mkdir -p "$work/fixture"
cat > "$work/fixture/pom.xml" <<'POM'
<project xmlns="http://maven.apache.org/POM/4.0.0">
  <modelVersion>4.0.0</modelVersion>
  <groupId>bench</groupId><artifactId>fixture</artifactId><version>1</version>
  <dependencies>
    <dependency><groupId>org.apache.commons</groupId><artifactId>commons-lang3</artifactId><version>3.12.0</version></dependency>
    <dependency><groupId>commons-io</groupId><artifactId>commons-io</artifactId><version>2.11.0</version></dependency>
  </dependencies>
</project>
POM
export XDG_CACHE_HOME="$work/cache" MAVEN_OPTS=${MAVEN_OPTS:--Dmaven.repo.local=/usr/share/maven-repo}
unset CLASSPATH
t0=${EPOCHREALTIME/./}
"$cli" --project "$work/fixture" members "$class" >/dev/null   # resolves with mvn, fills the cache
t1=${EPOCHREALTIME/./}
echo "first run (mvn resolves): $(( (t1 - t0) / 1000 )) ms"
repo=${MAVEN_OPTS#*maven.repo.local=}; repo=${repo%% *}
byhand="$repo/org/apache/commons/commons-lang3/3.12.0/commons-lang3-3.12.0.jar:$repo/commons-io/commons-io/2.11.0/commons-io-2.11.0.jar"
a=(); b=()
for ((i = 0; i < rounds; i++)); do
  t0=${EPOCHREALTIME/./}; "$cli" --project "$work/fixture" members "$class" >/dev/null; t1=${EPOCHREALTIME/./}
  CLASSPATH="$byhand" "$cli" members "$class" >/dev/null; t2=${EPOCHREALTIME/./}
  a+=($((t1 - t0))); b+=($((t2 - t1)))
done
ma=$(printf '%s\n' "${a[@]}" | median); mb=$(printf '%s\n' "${b[@]}" | median)
echo "$rounds rounds, alternating, class $class"
awk -v a="$ma" -v b="$mb" 'BEGIN {printf "A --project (warm cache): median %.2f ms\nB CLASSPATH by hand:      median %.2f ms\nA/B: %.2fx (target: under 2x)\n", a/1000, b/1000, a/b}'
