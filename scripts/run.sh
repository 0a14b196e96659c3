#!/usr/bin/env bash
# Installs what the window needs, builds it, and starts it in the build folder,
# which holds its three images and its configuration file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# The release preset (no tests, no benchmarks), in the usual build folder.
cmake --preset release -B build >/dev/null
cmake --build build --target javaorvel javaorvel-cli
cd build
if [ ! -e JavaOrvel.cfg ]; then
  # A newcomer sees documentation on the first selection: point both roots at
  # the installed JDK documentation.
  api=/usr/share/doc/openjdk-17-jre-headless/api
  printf '%s\n%s\n' "$api/java.base" "$api/java.desktop" > JavaOrvel.cfg
fi
exec ./javaorvel
