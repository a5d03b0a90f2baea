#!/usr/bin/env bash
# Builds and runs every test: bash tools/test.sh [default|debug|asan]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

bash tools/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
# The archive's tests run on SQLite and on a throwaway PostgreSQL server (tools/pg.sh); without that
# server they fail here instead of being skipped.
GRX1_TEST_PG_REQUIRED=1 QT_QPA_PLATFORM=offscreen bash tools/pg.sh ctest --preset "$preset"
