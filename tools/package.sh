#!/usr/bin/env bash
# Builds the Debian package of the program: bash tools/package.sh
# The .deb lands in build/default/package/; install it with
#   sudo apt install ./build/default/package/grx1_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
rm -rf build/default/package
(cd build/default && cpack -G DEB -B "$PWD/package")
ls build/default/package/*.deb
