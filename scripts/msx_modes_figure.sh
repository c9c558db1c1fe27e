#!/usr/bin/env bash
# Makes docs/msx_modes.png: one picture beside its conversion to each MSX screen, each as
# the viewer shows the file written, with the colour error tessarin-export -v reports.
#
#   scripts/msx_modes_figure.sh [BUILD_DIR [PICTURE]]
#
# The default picture is the bluebells photo of imagemagick-6-doc (installed when missing);
# needs ImageMagick and fonts-dejavu-core.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
picture=${2:-/usr/share/doc/imagemagick-6-common/html/images/bluebells_clipped.jpg}
if [[ ! -e $picture && $# -lt 2 ]]; then
    sudo=()
    [[ "$(id -u)" -ne 0 ]] && sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends imagemagick-6-doc
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every tile 512x424: the source fitted as the screens are, each screen as the viewer's
# 512x424 magnified view shows it.
convert "$picture" -resize 512x424 -background black -gravity center -extent 512x424 \
    -gravity south -fill white -undercolor '#0008' -font DejaVu-Sans -pointsize 20 -annotate +0+6 'source' \
    "$work/0.png"
# Each way: the file written, the options that write it, those that show it, its caption.
mag=--size=512x424mag
ways=("SC2||$mag|.SC2" "SC2|--sprites=32|$mag --sprite-size=16|.SC2 32 sprites" "SC3||$mag|.SC3"
      "SC4||$mag|.SC4" "SC5||$mag|.SC5" "SC6||$mag|.SC6" "SC7||$mag|.SC7"
      "SC7|--interlace|--size=512x424int|.SC7+.S17 interlaced" "SC8||$mag|.SC8"
      "SCA||$mag|.SCA" "SC12||$mag|.SC12")
n=1
for way in "${ways[@]}"; do
    IFS='|' read -r screen written shown caption <<<"$way"
    rm -f "$work"/pic.*
    # shellcheck disable=SC2086 # the options are words
    line=$("$build/tessarin-export" -v $written -o "$work/pic.$screen" "$picture")
    error=$(sed -n 's/.*difference: \([0-9.]*\) pixel by pixel, \([0-9.]*\) seen.*/dE \1, blurred \2/p' <<<"$line")
    # shellcheck disable=SC2086
    "$build/tessarin-export" -q $shown -o "$work/shown.png" "$work/pic.$screen"
    convert "$work/shown.png" -resize '512x424!' -gravity south -fill white \
        -undercolor '#0008' -font DejaVu-Sans -pointsize 20 -annotate +0+6 "$caption  $error" \
        "$work/$(printf %02d $n).png"
    n=$((n + 1))
done
mv "$work/0.png" "$work/00.png"
montage "$work"/[0-9][0-9].png -tile 4x3 -geometry +4+4 -background '#222' docs/msx_modes.png
echo docs/msx_modes.png
