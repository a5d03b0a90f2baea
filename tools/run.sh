#!/usr/bin/env bash
# Builds the program and starts it on its embedded default: generated sample measurements.
# Without a display it prints the series table of the same measurements instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec env GRX1_SAMPLE_IMPACTS="${GRX1_SAMPLE_IMPACTS:-120}" build/default/src/grx1 "$@"
fi
echo "No display: the series table of the sample measurements follows." >&2
sample=build/default/sample.grx
[ -f "$sample" ] || build/default/src/grx1-cli sample -o "$sample" --impacts 120
exec build/default/src/grx1-cli series "$sample"
