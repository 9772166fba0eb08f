#!/usr/bin/env bash
# Renders packaging/icons/org.kelvano.Kelvano.svg to the PNG sizes the desktop uses (48, 128, 256),
# into packaging/icons/<size>/. Run after changing the drawing; the PNGs are kept in the tree so that a
# build needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
source ../../scripts/setup.sh
kelvano_install_missing librsvg2-bin
for size in 48 128 256; do
    mkdir -p "$size"
    rsvg-convert -w "$size" -h "$size" org.kelvano.Kelvano.svg -o "$size/org.kelvano.Kelvano.png"
done
