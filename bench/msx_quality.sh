#!/usr/bin/env bash
# Pictures converted to MSX screens: two figures of each, the mean CIEDE2000 difference from
# the fitted picture pixel by pixel and that of both pictures blurred (a Gaussian of sigma 1
# pixel in linear light: a dither counts for the colour it makes), printed "pixel/blurred"
# for tessarin-export and for other ways to the same screen; and the time of one conversion.
#
#   bench/msx_quality.sh [BUILD_DIR]     (BUILD_DIR configured with -DTESSARIN_BENCH=ON)
#
# Installs what it compares with and its pictures (Debian 12): imagemagick, pngquant, the
# photos of imagemagick-6-doc and the pixel art of freedroid-data; ImageMagick also makes a
# granite texture and a gradient. Every way starts from the same fitted picture (ImageMagick's
# box filter into the frame, letterboxed in black):
#   screens 5, 7  ImageMagick -colors 16 -dither FloydSteinberg, and pngquant 16, each colour
#                 then rounded to the 512-colour lattice
#   screen 8      ImageMagick -dither FloydSteinberg -remap of the 256 fixed colours
#   screen 2      each 8x1 run the two standard colours most of its pixels are nearest to
#                 in sRGB; also its floor, each pixel its CIEDE2000-nearest of the 15 colours
#                 with no pair rule, which no screen 2 file can be below pixel by pixel
#   screen 6      ImageMagick -colors 4 -dither FloydSteinberg and pngquant 4, rounded so
#   screen 12     each 4-pixel group from its mean J and K, the best Y for each pixel
# Screens 3, 4 and 10 (.sca) have no other way to compare with: their rows show ours alone.
# tessarin-export is measured as it converts by default (--dither eye), with --dither diffuse
# and with --dither none: the undithered figure is the one to hold against the undithered
# screen 12 way.
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
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 512x424 tile:granite: "PNG24:$work/granite.png"
convert -size 512x424 gradient:'#102060-#f0c050' "PNG24:$work/gradient.png"
pictures=("$im/bluebells_clipped.jpg" "$im/objects.jpg" "$im/rose.jpg"
          "$fd/001.png" "$fd/console_fg.png" "$fd/progress_meter.png"
          "$work/granite.png" "$work/gradient.png")

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

# The figures of a way as "pixel/blurred".
figures() { "$tool" diff "$1" "$2" | tr ' ' /; }
# tessarin-export's figures for a screen with --dither $3.
ours() {
    "$exporter" -q --fit stretch --dither "$3" -o "$work/ours.$2" "$1"
    shown "$work/ours.$2" "$frame" "$work/ours.png"
    figures "$1" "$work/ours.png"
}

row='%-22s %-5s %11s %11s %11s %11s %11s %11s\n'
printf "$row" picture screen eye diffuse none imagemagick other floor
for picture in "${pictures[@]}"; do
    for screen in sc2 sc3 sc4 sc5 sc6 sc7 sc8 sca sc12; do
        case $screen in
        sc2 | sc3 | sc4) frame=256x192 ;;
        sc6 | sc7) frame=512x212 ;;
        *) frame=256x212 ;;
        esac
        ref=$work/ref.png
        convert "$picture" -filter Box -resize "$frame" -background black -gravity center \
            -extent "$frame" "PNG24:$ref"
        eye=$(ours "$ref" "$screen" eye)
        diffuse=$(ours "$ref" "$screen" diffuse)
        plain=$(ours "$ref" "$screen" none)
        magick=- other=- floor=-
        case $screen in
        sc5 | sc6 | sc7)
            colours=16
            [[ $screen == sc6 ]] && colours=4
            convert "$ref" -dither FloydSteinberg -colors "$colours" "PNG24:$work/im.png"
            lattice "$work/im.png" "$work/imr.png"
            magick=$(figures "$ref" "$work/imr.png")
            pngquant --force --output "$work/pq.png" "$colours" "$ref"
            lattice "$work/pq.png" "$work/pqr.png"
            other=$(figures "$ref" "$work/pqr.png")
            ;;
        sc8)
            convert "$ref" -dither FloydSteinberg -remap "$work/screen8.png" "PNG24:$work/im.png"
            magick=$(figures "$ref" "$work/im.png")
            ;;
        sc2)
            "$tool" sc2-pairs "$ref" "$work/base.png"
            other=$(figures "$ref" "$work/base.png")
            "$tool" sc2-floor "$ref" "$work/floor.png"
            floor=$(figures "$ref" "$work/floor.png")
            ;;
        sc12)
            "$tool" sc12-mean "$ref" "$work/base.png"
            other=$(figures "$ref" "$work/base.png")
            ;;
        esac
        printf "$row" "$(basename "$picture")" "$screen" "$eye" "$diffuse" "$plain" "$magick" \
            "$other" "$floor"
    done
done

# Speed: one 1024x768 photo, the whole conversion (start, JPEG decode, fit, encode, write) on
# one thread, each screen with each dither, screen 2 also with 32 sprites and screens 7 and
# 12 interlaced; the median of 5, in milliseconds.
convert "$im/bluebells_clipped.jpg" -resize '1024x768!' "$work/photo.jpg"
echo
printf '%-12s %7s %7s %7s %7s\n' screen eye diffuse ordered none
for way in sc2 "sc2 --sprites 32" sc3 sc4 sc5 sc6 sc7 "sc7 --interlace" sc8 sca sc12 \
    "scc --interlace"; do
    read -r screen options <<<"$way"
    line=$(printf '%-12s' "$screen${options:+ ${options#--}}")
    for dither in eye diffuse ordered none; do
        times=()
        for _ in 1 2 3 4 5; do
            start=$(date +%s%N)
            # shellcheck disable=SC2086 # the options are words
            "$exporter" -q --dither "$dither" $options -o "$work/speed.$screen" "$work/photo.jpg"
            times+=($(( ($(date +%s%N) - start) / 1000000 )))
        done
        line+=$(printf ' %7s' "$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)")
    done
    echo "$line"
done
