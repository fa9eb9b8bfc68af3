#!/usr/bin/env bash
# Draws the icon theme's PNG sizes of Lirabox's icon from its SVG. Run it after
# changing data/icons/hicolor/scalable/apps/lirabox.svg and commit the PNGs.
set -euo pipefail

icons="$(cd "$(dirname "$0")/.." && pwd)/data/icons/hicolor"
for side in 16 22 24 32 48 64 128 256; do
  mkdir -p "$icons/${side}x${side}/apps"
  rsvg-convert -w "$side" -h "$side" "$icons/scalable/apps/lirabox.svg" -o "$icons/${side}x${side}/apps/lirabox.png"
done
