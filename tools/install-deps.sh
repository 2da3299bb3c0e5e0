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

# Access to the measuring device for the logged-in user (see the README, "The measuring device").
RULE_SRC="$(dirname "$0")/../resources/udev/70-oruk-kv50.rules"
RULE_DST=/etc/udev/rules.d/70-oruk-kv50.rules
if [ -f "$RULE_SRC" ] && ! cmp -s "$RULE_SRC" "$RULE_DST" 2>/dev/null; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  if $SUDO install -D -m 0644 "$RULE_SRC" "$RULE_DST"; then
    # Without a running udev (a container, a build machine) the rule waits for the next boot.
    if command -v udevadm >/dev/null 2>&1; then
      $SUDO udevadm control --reload-rules 2>/dev/null || true
      $SUDO udevadm trigger --subsystem-match=hidraw --subsystem-match=usb 2>/dev/null || true
    fi
  else
    echo "Could not install $RULE_DST; the device will need root access." >&2
  fi
fi
