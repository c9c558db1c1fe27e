#!/bin/sh
# Total size of the samples' PNG files as the exporter writes them against ImageMagick's
# convert of the same pictures as BMP. Usage: bench/png_size.sh [BUILD_DIR] (default build).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

"$build/tessarin-export" -q -d "$work/ours" "$src"/samples/*.SC? "$src"/samples/*.PL?
"$build/tessarin-export" -q --format bmp -d "$work/bmp" "$src"/samples/*.SC? "$src"/samples/*.PL?
mkdir "$work/convert"
for bmp in "$work"/bmp/*.bmp; do
    name=$(basename "$bmp" .bmp)
    convert "$bmp" "$work/convert/$name.png"
done
ours=$(cat "$work"/ours/*.png | wc -c)
theirs=$(cat "$work"/convert/*.png | wc -c)
printf '%s pictures: tessarin-export %d bytes, convert %d bytes, ratio = %.2f\n' \
    "$(ls "$work/ours" | wc -l)" "$ours" "$theirs" "$(awk "BEGIN { print $ours / $theirs }")"
