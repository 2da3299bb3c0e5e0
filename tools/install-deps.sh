#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
# Safe to run again: only what is missing is installed.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libqt6sql6-sqlite libqt6sql6-psql
  libgl-dev
  libhidapi-dev libudev-dev
  fonts-noto-cjk fonts-dejavu-core
  xvfb xauth poppler-utils sqlite3 jq
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
