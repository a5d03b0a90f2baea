#!/usr/bin/env bash
# The Windows program, cross-built on this Debian machine and tried under Wine.
#   bash tools/windows.sh          the libraries (once, into a cache), the programs, the folder that
#                                  runs on Windows as it is, and the setup program
#   bash tools/windows.sh test     the same, then the Windows tests under Wine
# The libraries are built from Debian's own source packages into $GRX1_WINDOWS_CACHE (default
# ~/.cache/grx1-windows); the first run takes about an hour and a half on 2 cores, later runs only
# build the program. Everything this writes into the work tree lies below build/windows.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-build}
case $mode in build | test) ;; *) echo "usage: bash tools/windows.sh [build|test]" >&2; exit 2 ;; esac

packages=(
  cmake ninja-build pkg-config dpkg-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n  # Qt's host tools and its Russian texts
  gcc make tcl perl                                        # SQLite's and PostgreSQL's own build steps
  libboost-dev                                             # Boost.Math's headers (Student's t)
  wine wine64 nsis xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

export GRX1_WINDOWS_CACHE=${GRX1_WINDOWS_CACHE:-$HOME/.cache/grx1-windows}
export GRX1_WINDOWS_PREFIX=$GRX1_WINDOWS_CACHE/prefix
start=$(date +%s)
bash tools/windows/deps.sh

out=$PWD/build/windows
export PKG_CONFIG_LIBDIR=$GRX1_WINDOWS_PREFIX/lib/pkgconfig PKG_CONFIG_SYSROOT_DIR=
cmake -G Ninja -S . -B "$out/build" -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$GRX1_WINDOWS_PREFIX/qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DCMAKE_PREFIX_PATH="$GRX1_WINDOWS_PREFIX" -DCMAKE_BUILD_TYPE=Release \
  -DGRX1_BUILD_BENCHMARKS=OFF -DGRX1_MANUAL_PICTURES=OFF >/dev/null
cmake --build "$out/build" -j"${GRX1_JOBS:-2}"
bash tools/windows/folder.sh "$out/build" "$out/GRX1"
bash tools/windows/setup.sh "$out/GRX1" "$out"
echo "built in $(($(date +%s) - start)) s"
echo "the program folder: $out/GRX1"
echo "the setup program:  $(ls "$out"/grx1-*-setup.exe)"
[ "$mode" = test ] && bash tools/windows/test.sh "$out"
exit 0
