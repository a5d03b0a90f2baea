#!/usr/bin/env bash
# Builds the program and starts it on its embedded default: generated sample measurements.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
sample=build/default/sample.grx
[ -f "$sample" ] || build/default/src/grx1-cli sample -o "$sample" --impacts 120
exec build/default/src/grx1-cli series "$sample" "$@"
