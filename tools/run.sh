#!/usr/bin/env bash
# Builds the program and starts it on its embedded default: a simulated tester (grx1-tester-sim)
# holding generated sample measurements, on bulk-pipe device nodes in a temporary folder, and grx1
# pointed at it, so the first start shows a real read: search, version, progress, tables.
# Without a display, grx1-cli reads the same simulated tester and prints the series table.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
bin=build/default/src

pipes=$(mktemp -d /tmp/grx1-pipes.XXXXXX)
"$bin/sim/grx1-tester-sim" --dir "$pipes" --impacts "${GRX1_SAMPLE_IMPACTS:-1200}" >/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -rf "$pipes"' EXIT
export GRX1_PIPE_DIR="$pipes"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$bin/grx1" "$@"
else
  echo "No display: reading the simulated tester with grx1-cli." >&2
  "$bin/grx1-cli" read -o "$pipes/read.grx" --timeout 30
  "$bin/grx1-cli" series "$pipes/read.grx"
fi
