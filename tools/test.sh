#!/usr/bin/env bash
# Builds and runs every test: bash tools/test.sh [default|debug|asan]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

bash tools/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset"
