#!/usr/bin/env bash
# Renders the PNG sizes of the icon from korvane.svg (needs librsvg2-bin).
# Run after changing the SVG, and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" korvane.svg -o "icons/korvane-$size.png"
done
