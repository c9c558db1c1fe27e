#!/usr/bin/env bash
# Renders the scalable application icon at the fixed sizes of the hicolor theme. Run it after
# changing the SVG and commit what it writes; the build only installs the files.
#   tools/render_icons.sh        needs rsvg-convert (Debian: librsvg2-bin)
set -euo pipefail
cd "$(dirname "$0")/.."

icons=packaging/icons/hicolor
svg=$icons/scalable/apps/tessarin.svg
command -v rsvg-convert >/dev/null ||
    { echo "error: rsvg-convert not found (apt-get install librsvg2-bin)" >&2; exit 1; }

for size in 16 22 24 32 48 64 128 256; do
    out=$icons/${size}x${size}/apps/tessarin.png
    mkdir -p "$(dirname "$out")"
    rsvg-convert --width "$size" --height "$size" --format png "$svg" --output "$out.tmp"
    mv "$out.tmp" "$out"
    echo "$out"
done
