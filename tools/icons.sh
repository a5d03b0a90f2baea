#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/grx1.svg) into the PNG sizes the desktop and the
# window use. Run after changing the SVG; the PNGs are kept in the repository so that a build
# needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" grx1.svg -o "grx1-$size.png"
done
python3 ../../tools/windows/ico.py grx1.ico grx1-{16,24,32,48,64,128,256}.png  # the Windows icon
