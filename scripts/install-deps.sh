#!/usr/bin/env bash
# Debian 12 packages for building, running and testing. Safe to run again.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev zlib1g-dev \
  openjdk-17-jdk-headless openjdk-17-doc openjdk-17-source \
  "$@" >/dev/null
