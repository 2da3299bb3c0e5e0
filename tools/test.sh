#!/usr/bin/env bash
# Installs what is missing, builds everything (benchmarks included) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
bash tools/build.sh --target benchmarks
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
