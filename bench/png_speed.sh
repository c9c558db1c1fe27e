#!/bin/sh
# Writing PNG files: tessarin-export against ImageMagick, in time and in total size.
#
# The pictures: FILES numbered copies of the sample screen files (samples/*.SC?, cycling
# through them) and the BMPs tessarin-export writes of the same copies (made once, untimed).
# tessarin-export converts the screen files, ImageMagick the BMPs, so ours does more:
# it decodes VRAM and renders the view before it encodes, ImageMagick only reads a BMP.
# Every form runs on one thread (tessarin-export -j 1, MAGICK_THREAD_LIMIT=1), writes into an
# empty directory and is timed as the least wall-clock time of RUNS runs:
#   batch     one tessarin-export process for all files   against  mogrify -format png
#   per file  one tessarin-export -o X.png per file       against  convert X.bmp X.png
#   per picture  the batch forms over COPIES copies of one sample, in ms per picture
# convert is the one beside mogrify, so both forms run the same ImageMagick.
# Usage: bench/png_speed.sh [BUILD_DIR] [FILES] [RUNS] (default build, 300, 3).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
files=${2:-300}
runs=${3:-3}
copies=50
exporter="$build/tessarin-export"
mogrify=$(command -v mogrify)
convert="$(dirname "$mogrify")/convert"
MAGICK_THREAD_LIMIT=1
export MAGICK_THREAD_LIMIT
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# copy COUNT DIR SAMPLE...: COUNT numbered copies in DIR, cycling through the SAMPLEs.
copy() {
    count=$1
    dir=$2
    shift 2
    mkdir "$dir"
    i=0
    while [ "$i" -lt "$count" ]; do
        pick=$((i % $# + 1))
        sample=$(eval echo "\${$pick}")
        cp "$sample" "$dir/P$i.${sample##*.}"
        i=$((i + 1))
    done
    "$exporter" -q -j 1 --format bmp -d "$dir.bmp" "$dir"/*
}

# seconds OUTDIR COMMAND...: the least wall-clock seconds of $runs runs into an empty OUTDIR
seconds() {
    out=$1
    shift
    best=1e9
    run=0
    while [ "$run" -lt "$runs" ]; do
        rm -rf "$out"
        mkdir "$out"
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        best=$(awk "BEGIN { t = $end - $start; print (t < $best) ? t : $best }")
        run=$((run + 1))
    done
    echo "$best"
}

bytes() { cat "$1"/*.png | wc -c; }

# batch IN OUT: one exporter process against mogrify; sets ours, theirs, oursSize, theirsSize
batch() {
    ours=$(seconds "$2.ours" "$exporter" -q -j 1 -d "$2.ours" "$1"/*)
    theirs=$(seconds "$2.im" "$mogrify" -path "$2.im" -format png "$1.bmp"/*.bmp)
    oursSize=$(bytes "$2.ours")
    theirsSize=$(bytes "$2.im")
}

echo "load average before: $(uptime | sed 's/.*load average: //')"
copy "$files" "$work/in" "$src"/samples/*.SC?

batch "$work/in" "$work/batch"
printf 'batch, %d files: tessarin-export %.2f s %d bytes, mogrify %.2f s %d bytes\n' \
    "$files" "$ours" "$oursSize" "$theirs" "$theirsSize"

# eachOurs DIR FILE... and eachIm DIR BMP...: one process a file, into DIR
eachOurs() {
    into=$1
    shift
    for f; do
        n=${f##*/}
        "$exporter" -q -o "$into/${n%.*}.png" "$f"
    done
}
eachIm() {
    into=$1
    shift
    for f; do
        n=${f##*/}
        "$convert" "$f" "$into/${n%.*}.png"
    done
}
perFile=$(seconds "$work/each.ours" eachOurs "$work/each.ours" "$work"/in/*)
perFileIm=$(seconds "$work/each.im" eachIm "$work/each.im" "$work"/in.bmp/*.bmp)
printf 'per file, %d files: tessarin-export %.2f s %d bytes, convert %.2f s %d bytes\n' \
    "$files" "$perFile" "$(bytes "$work/each.ours")" "$perFileIm" "$(bytes "$work/each.im")"

echo "per picture, batches of $copies copies (ms per picture, bytes per picture):"
for sample in "$src"/samples/*.SC?; do
    name=$(basename "$sample")
    copy "$copies" "$work/$name" "$sample"
    batch "$work/$name" "$work/$name.out"
    printf '  %-10s tessarin-export %5.2f ms %6d B, mogrify %5.2f ms %6d B\n' "$name" \
        "$(awk "BEGIN { print 1000 * $ours / $copies }")" $((oursSize / copies)) \
        "$(awk "BEGIN { print 1000 * $theirs / $copies }")" $((theirsSize / copies))
done
echo "load average after: $(uptime | sed 's/.*load average: //')"
