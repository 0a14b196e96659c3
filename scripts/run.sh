#!/usr/bin/env bash
# Installs what the window needs, builds it with the release preset and starts
# it in build-release/, its working folder: the three images sit there, and
# the configuration file JavaOrvel.cfg is kept there between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build-release.sh
cd build-release
if [ ! -e JavaOrvel.cfg ]; then
  # A newcomer sees documentation on the first selection: point both roots at
  # the installed JDK documentation.
  api=/usr/share/doc/openjdk-17-jre-headless/api
  printf '%s\n%s\n' "$api/java.base" "$api/java.desktop" > JavaOrvel.cfg
fi
exec ./javaorvel "$@"
