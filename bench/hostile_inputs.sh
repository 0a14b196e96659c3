#!/usr/bin/env bash
# Hostile inputs against javaorvel-cli, one process each, measured with
# /usr/bin/time -v: wall and CPU time, peak memory, bytes printed. What to expect on
# an idle machine (2 cores): every case well under a second and under 250 MB.
#   page N      one javadoc 1.3-15 page line of N bytes of tiny blocks
#   inherit     8 classes, each comment 16 {@inheritDoc}; 200 parameters each
#               inheriting a megabyte (needs javac)
#   fields/decl a 16 MB source: one field list "int a,a,...;" / "int a;" repeated
# usage: bench/hostile_inputs.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
cli=$(realpath "$build/javaorvel-cli")
[ -x "$cli" ] || { echo "no $cli: build it first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "no /usr/bin/time" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

measure() {  # LABEL CLASSPATH ARGS...
  local label=$1 cp=$2; shift 2
  CLASSPATH=$cp /usr/bin/time -v -o "$work/time" "$cli" "$@" >"$work/out" 2>/dev/null || true
  printf '%-22s wall %8s  cpu %6.2f s  peak %8s KB  printed %8s bytes\n' "$label" \
    "$(awk '/Elapsed \(wall/ {print $NF}' "$work/time")" \
    "$(awk '/(User|System) time/ {s += $NF} END {print s}' "$work/time")" \
    "$(awk '/Maximum resident/ {print $NF}' "$work/time")" "$(stat -c %s "$work/out")"
}

unit='<a name="add(E)"></a><pre>x</pre>'
for size in 65536 262144 1048576; do
  mkdir -p "$work/page$size"
  { echo '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">'; echo '<html><head></head><body>'
    head -c "$size" < <(yes "$unit" | tr -d '\n'); echo; } >"$work/page$size/java.util.Vector.html"
  measure "page $size" "" doc --main "$work/page$size" --group java.util.Vector --leaf "add  boolean add(Object)" \
    --no-source
done

if command -v javac >/dev/null; then
  mkdir -p "$work/inherit/p"
  tags=$(printf '{@inheritDoc} %.0s' {1..16})
  for i in {0..6}; do
    echo "package p; public class L$i extends L$((i + 1)) { /** $tags */ public void m() { } }" >"$work/inherit/p/L$i.java"
  done
  echo 'package p; public class L7 { /** The root. */ public void m() { } }' >"$work/inherit/p/L7.java"
  javac -d "$work/inherit" "$work"/inherit/p/*.java
  measure "inherit 8x16" "$work/inherit" doc --group p.L0 --leaf "m  void m()"

  # 200 parameters, each inheriting 16x16 copies of a 4000-character text.
  mkdir -p "$work/params/p"
  params=$(for i in {0..199}; do printf 'int a%d, ' $i; done); params=${params%, }
  long=$(head -c 4000 < <(yes x | tr -d '\n'))
  for i in 0 1 2; do
    { [ $i -lt 2 ] && echo "package p; public class P$i extends P$((i + 1)) { /** Doc." || echo "package p; public class P$i { /** Doc."
      for a in {0..199}; do echo " * @param a$a $([ $i -lt 2 ] && echo "$tags" || echo "$long")"; done
      echo " */ public void m($params) { } }"; } >"$work/params/p/P$i.java"
  done
  javac -d "$work/params" "$work"/params/p/*.java
  measure "inherit 200 params" "$work/params" doc --group p.P0 --leaf "m  void m($(printf 'int,%.0s' {1..199})int)"

  for kind in fields decl; do
    mkdir -p "$work/$kind/p"
    echo 'package p; public class T { /** Doc. */ public void m() { } }' >"$work/$kind/p/T.java"
    javac -d "$work/$kind" "$work/$kind/p/T.java"
    { echo 'package p; public class T { /** Doc. */ public void m() { }'
      if [ "$kind" = fields ]; then printf 'int a'; head -c $(((16 << 20) - 256)) < <(yes ',a' | tr -d '\n'); echo ';'
      else head -c $(((16 << 20) - 256)) < <(yes 'int a;' | tr -d '\n'); echo; fi
      echo '}'; } >"$work/$kind/p/T.java"
    measure "source 16 MB $kind" "$work/$kind" doc --group p.T --leaf "m  void m()"
  done
fi
