#!/usr/bin/env bash
# Installs what is missing, builds, and runs the workstation's main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
BIN="${BUILD_DIR:-build}/bin"
# Until the workstation window is built, the main job analyses a sample measurement.
exec "$BIN/oruk-cli" analyze \
    --values 42,38,45,40,36,39,44,37,46,41,35,40,33,52,31,34,30,36,32,55,30,35,29,35 \
    --sex male --birth 1970-05-01 "$@"
