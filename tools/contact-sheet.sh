#!/usr/bin/env bash
# Draws all generated pictures and all icons onto one PNG (default: build/contact-sheet.png).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
OUT=${1:-$BUILD_DIR/contact-sheet.png}
bash tools/build.sh --target oruk_artwork_files oruk_contact_sheet >/dev/null
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/tools/artwork/oruk_contact_sheet" \
  "$BUILD_DIR/share/oruk/Data" "$BUILD_DIR/artwork" resources/icons "$OUT"
echo "$OUT"
