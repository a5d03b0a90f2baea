#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the benchmarks need, when any is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqcustomplot-dev libqcustomplot2.1-qt6
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth qt6-translations-l10n fonts-liberation2
  libusb-dev g++-mingw-w64-x86-64
  desktop-file-utils libxml2-utils dpkg-dev file
  libxlsxwriter-dev zlib1g-dev fonts-liberation2 poppler-utils unzip
  clang libclang-rt-14-dev
  libgeographiclib-dev gdal-bin
  libboost-dev  # Boost.Math (header-only): Student's t for the calibrations
  libqt6sql6-sqlite libqt6sql6-psql postgresql-15
  chromium  # the tests read the reports' HTML as a browser shows it
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
