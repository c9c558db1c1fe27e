#!/bin/sh
# Every BMP the exporter writes opens in ImageMagick at the size its header states: each
# view at each pixel aspect, and a thumbnail of each size from 1 to 600 (so every row
# length modulo 4). Needs ImageMagick's identify.
# Usage: scripts/check_bmp_identify.sh [BUILD_DIR]
set -eu
build=${1:-build}
exporter=$(cd "$build" && pwd)/tessarin-export
samples=$(cd "$(dirname "$0")/../samples" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
checked=0
failed=0

# Whether $1 opens, and at the size of its header's biWidth and biHeight (offsets 18, 22).
check() {
    header=$(od -An -tu4 -j18 -N8 "$1" | awk '{print $1 "x" $2}')
    if ! shown=$(identify -format '%wx%h' "$1" 2>&1) || [ "$shown" != "$header" ]; then
        echo "FAILED $2: header $header, identify: $shown"
        failed=$((failed + 1))
    fi
    checked=$((checked + 1))
}

for size in 256x212 512x424mag 512x424int 256x424joi; do
    for rotate in "" --rotate; do
        for aspect in square ntsc pal; do
            name="$out/$size$rotate-$aspect.bmp"
            "$exporter" -q --size "$size" $rotate --aspect "$aspect" -o "$name" "$samples/BARS.SC5"
            check "$name" "--size $size $rotate --aspect $aspect"
        done
    done
done
side=1
while [ "$side" -le 600 ]; do
    "$exporter" -q --aspect ntsc --thumbnail "$side" -o "$out/t.bmp" "$samples/BARS.SC5"
    check "$out/t.bmp" "--thumbnail $side"
    side=$((side + 1))
done
echo "$checked BMP files, $failed refused or of another size"
[ "$failed" -eq 0 ]
