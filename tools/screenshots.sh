#!/usr/bin/env bash
# Opens every window of the workstation on the simulated device (no display needed) and saves a
# PNG of each into DIR (default: build/screenshots).  Usage: tools/screenshots.sh [DIR] [--size WxH]
set -euo pipefail
cd "$(dirname "$0")/.."
OUT="${1:-${BUILD_DIR:-build}/screenshots}"
shift || true
bash tools/build.sh --target oruk-screenshots oruk_data
QT_QPA_PLATFORM=offscreen "${BUILD_DIR:-build}/bin/oruk-screenshots" "$OUT" "$@"
