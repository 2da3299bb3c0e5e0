#!/usr/bin/env bash
# Installs what is missing, builds, and starts the workstation on the simulated device
# (oruk --simulate). On a machine without a display it runs the same road headless instead: a
# simulated measurement, saved under a demo subject, analysed, and its report written as a PDF.
#   tools/run.sh [--workdir DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
BIN="$(pwd)/${BUILD_DIR:-build}/bin"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$BIN/oruk" --simulate "$@"
fi

echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running the headless workflow with oruk-cli instead of the window."
CLI="$BIN/oruk-cli"
WORKDIR_ARGS=("$@") # --workdir DIR, when given, for every record command
SUBJECT="DEMO-001"

# 1. A full 24-point run on the simulated device and its simulated subject.
measured=$("$CLI" measure --simulate --fast --json)
values=$(jq -r '.Values | map(tostring) | join(",")' <<<"$measured")
std=$(jq -r '.Std | map(tostring) | join(",")' <<<"$measured")
shown=$(jq -r '.Values | map(. * 10 | round / 10 | tostring) | join(", ")' <<<"$measured")
echo "Measured on the simulated device (µA, points 1-24): $shown"

# 2. The demo subject (created on the first run) and the measurement saved under it.
if ! "$CLI" measurements --subject "$SUBJECT" "${WORKDIR_ARGS[@]}" >/dev/null 2>&1; then
  "$CLI" subject add --no "$SUBJECT" --name "示範受測者" --sex male --birth 1970-05-01 "${WORKDIR_ARGS[@]}" >/dev/null
fi
mkey=$("$CLI" save --subject "$SUBJECT" --values "$values" --std "$std" "${WORKDIR_ARGS[@]}" | tail -n 1)
echo "Saved as measurement $mkey of subject $SUBJECT."

# 3. The analysis of the stored measurement.
"$CLI" analyze --mkey "$mkey" "${WORKDIR_ARGS[@]}"

# 4. Its printed report as a PDF.
mkdir -p "$(pwd)/${BUILD_DIR:-build}/reports"
pdf="$(pwd)/${BUILD_DIR:-build}/reports/oruk-report-$SUBJECT-$mkey.pdf"
"$CLI" report --mkey "$mkey" --pdf "$pdf" "${WORKDIR_ARGS[@]}"
echo "Report written: $pdf"
