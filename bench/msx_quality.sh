#!/usr/bin/env bash
# Pictures converted to MSX screens: the mean CIEDE2000 difference from the fitted picture of
# tessarin-export and of other ways to the same screen, and the time of one conversion.
#
#   bench/msx_quality.sh [BUILD_DIR]     (BUILD_DIR configured with -DTESSARIN_BENCH=ON)
#
# Installs what it compares with and its pictures (Debian 12): imagemagick, pngquant, the
# photos of imagemagick-6-doc and the pixel art of freedroid-data. Every way starts from the
# same fitted picture (ImageMagick's box filter into the frame, letterboxed in black):
#   screens 5, 7  ImageMagick -colors 16 -dither FloydSteinberg, and pngquant 16, each colour
#                 then rounded to the 512-colour lattice
#   screen 8      ImageMagick -dither FloydSteinberg -remap of the 256 fixed colours
#   screen 2      each 8x1 run the two standard colours most of its pixels are nearest to
#                 in sRGB; also its floor, each pixel its CIEDE2000-nearest of the 15 colours
#                 with no pair rule, which no screen 2 file can be below
#   screen 12     each 4-pixel group from its mean J and K, the best Y for each pixel
# tessarin-export is measured as it converts by default (diffusion) and with --dither none:
# the undithered figure is the one to hold against the undithered screen 12 way.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
exporter=$build/tessarin-export
tool=$build/bench/msx-quality-tool

wanted=(imagemagick pngquant imagemagick-6-doc freedroid-data)
missing=()
for p in "${wanted[@]}"; do
    [[ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    sudo=()
    [[ "$(id -u)" -ne 0 ]] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

im=/usr/share/doc/imagemagick-6-common/html/images
fd=/usr/share/games/freedroid/graphics
pictures=("$im/bluebells_clipped.jpg" "$im/objects.jpg" "$im/rose.jpg"
          "$fd/001.png" "$fd/console_fg.png" "$fd/progress_meter.png")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each channel to the nearest 3-bit level, shown as the levels are (level x 255 / 7).
lattice() { convert "$1" -fx 'floor(round(u*7)*255/7)/255' "PNG24:$2"; }
# The 256 colours of screen 8 (GGGRRRBB), as the file levels show them.
convert -size 256x1 xc: -channel R -fx 'floor(floor(i/4)%8*255/7)/255' \
    -channel G -fx 'floor(floor(i/32)*255/7)/255' -channel B -fx 'floor(i%4*255/3)/255' \
    +channel "PNG24:$work/screen8.png"

# The screen file as the viewer shows it, in the frame it was made for.
shown() {
    "$exporter" -q -o "$work/shown.png" "$1"
    convert "$work/shown.png" -sample "$2!" "PNG24:$3"
}

printf '%-26s %-7s %9s %9s %11s %9s %9s\n' picture screen tessarin undithered imagemagick other floor
for picture in "${pictures[@]}"; do
    for screen in sc2 sc5 sc7 sc8 sc12; do
        case $screen in
        sc2) frame=256x192 ;;
        sc7) frame=512x212 ;;
        *) frame=256x212 ;;
        esac
        ref=$work/ref.png
        convert "$picture" -filter Box -resize "$frame" -background black -gravity center \
            -extent "$frame" "PNG24:$ref"
        "$exporter" -q --fit stretch -o "$work/ours.$screen" "$ref"
        shown "$work/ours.$screen" "$frame" "$work/ours.png"
        ours=$("$tool" diff "$ref" "$work/ours.png")
        "$exporter" -q --fit stretch --dither none -o "$work/plain.$screen" "$ref"
        shown "$work/plain.$screen" "$frame" "$work/plain.png"
        plain=$("$tool" diff "$ref" "$work/plain.png")
        magick=- other=- floor=-
        case $screen in
        sc5 | sc7)
            convert "$ref" -dither FloydSteinberg -colors 16 "PNG24:$work/im.png"
            lattice "$work/im.png" "$work/imr.png"
            magick=$("$tool" diff "$ref" "$work/imr.png")
            pngquant --force --output "$work/pq.png" 16 "$ref"
            lattice "$work/pq.png" "$work/pqr.png"
            other=$("$tool" diff "$ref" "$work/pqr.png")
            ;;
        sc8)
            convert "$ref" -dither FloydSteinberg -remap "$work/screen8.png" "PNG24:$work/im.png"
            magick=$("$tool" diff "$ref" "$work/im.png")
            ;;
        sc2)
            "$tool" sc2-pairs "$ref" "$work/base.png"
            other=$("$tool" diff "$ref" "$work/base.png")
            "$tool" sc2-floor "$ref" "$work/floor.png"
            floor=$("$tool" diff "$ref" "$work/floor.png")
            ;;
        sc12)
            "$tool" sc12-mean "$ref" "$work/base.png"
            other=$("$tool" diff "$ref" "$work/base.png")
            ;;
        esac
        printf '%-26s %-7s %9s %9s %11s %9s %9s\n' "$(basename "$picture")" "$screen" "$ours" \
            "$plain" "$magick" "$other" "$floor"
    done
done

# Speed: one 1024x768 photo, the whole conversion (start, JPEG decode, fit, encode, write) on
# one thread; the median of 5.
convert "$im/bluebells_clipped.jpg" -resize '1024x768!' "$work/photo.jpg"
echo
for screen in sc2 sc5 sc7 sc8 sc12; do
    times=()
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        "$exporter" -q -o "$work/speed.$screen" "$work/photo.jpg"
        times+=($(( ($(date +%s%N) - start) / 1000000 )))
    done
    median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
    echo "$screen: ${median} ms for a 1024x768 JPEG photo"
done
