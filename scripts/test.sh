#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: the normal build,
# then the same suite under AddressSanitizer + UndefinedBehaviorSanitizer, then
# a short run of each fuzzer. Exits non-zero on any failure. Each stage is a
# preset of CMakePresets.json (dev, asan, fuzz), all with warnings as errors;
# between them, the run command's own release build (warnings fail it here, never
# for a user) is started headless and packaged.
set -euo pipefail
cd "$(dirname "$0")/.."
# The libraries' own javadoc, one or two of each generation, with their jars:
# 1.3 and 1.4 (xml-commons-resolver, kxml2), 8 (regexp, jtidy), 11 (oro,
# argparse4j), 17 (jcommander, jdom1).
bash scripts/install-deps.sh googletest libgtest-dev libgmock-dev libbenchmark-dev \
  clang libclang-rt-14-dev dpkg-dev file desktop-file-utils lintian \
  libxml-commons-resolver1.1-java-doc libxml-commons-resolver1.1-java libkxml2-java-doc libkxml2-java \
  libregexp-java-doc libregexp-java libjtidy-java-doc libjtidy-java liboro-java-doc liboro-java \
  libargparse4j-java-doc libargparse4j-java libjcommander-java-doc libjcommander-java libjdom1-java-doc libjdom1-java \
  maven libmaven-dependency-plugin-java junit4 gradle
jobs=$(nproc)

echo "== build and test =="
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs" | tee build/ctest.log

echo "== the run command's build: release preset, started headless, packaged =="
bash scripts/build-release.sh --no-warnings >/dev/null
bash scripts/smoke-window.sh build-release
bash scripts/release-check.sh build-release

echo "== build and test under ASan + UBSan =="
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" | tee build-asan/ctest.log

echo "== fuzz =="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
bash scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-45}"

# One closing line over both test runs (ctest failures have stopped the script already).
count() { sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$1" | tail -n 1; }
echo "tests: $(( $(count build/ctest.log) + $(count build-asan/ctest.log) )) passed, 0 failed"
