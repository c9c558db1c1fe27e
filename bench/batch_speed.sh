#!/bin/sh
# Times a batch of screen files on one and on two threads, and a BMP batch against cp
# of the same finished BMPs, each the best of three runs.
# Usage: bench/batch_speed.sh [BUILD_DIR] (default build).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
exporter="$build/tessarin-export"
files=1000
copies=200
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# Numbered copies of the committed samples, cycling through them.
mkdir "$work/in"
set -- "$src"/samples/*.SC?
count=$#
i=0
while [ "$i" -lt "$files" ]; do
    shift_by=$((i % count + 1))
    sample=$(eval echo "\${$shift_by}")
    cp "$sample" "$work/in/P$i.${sample##*.}"
    i=$((i + 1))
done

runs=3
seconds() { # OUTDIR COMMAND...: the least wall-clock seconds of $runs runs into OUTDIR
    out=$1
    shift
    best=1e9
    run=0
    while [ "$run" -lt "$runs" ]; do
        rm -rf "$out"
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        best=$(awk "BEGIN { t = $end - $start; print (t < $best) ? t : $best }")
        run=$((run + 1))
    done
    echo "$best"
}

one=$(seconds "$work/j1" "$exporter" -q -j 1 -d "$work/j1" "$work"/in/*)
two=$(seconds "$work/j2" "$exporter" -q -j 2 -d "$work/j2" "$work"/in/*)
printf '%d files to PNG: -j 1 %.2f s, -j 2 %.2f s, ratio -j 2 / -j 1 = %.2f\n' \
    "$files" "$one" "$two" "$(awk "BEGIN { print $two / $one }")"

ls "$work"/in/* | head -n "$copies" > "$work/list"
bmp=$(seconds "$work/bmp" sh -c "xargs '$exporter' -q -j 1 --format bmp -d '$work/bmp' < '$work/list'")
copy=$(seconds "$work/copied" sh -c "mkdir '$work/copied' && cp '$work'/bmp/* '$work/copied/'")
printf '%d files to BMP: %.3f s, cp of the BMPs %.3f s, ratio = %.1f\n' \
    "$copies" "$bmp" "$copy" "$(awk "BEGIN { print $bmp / $copy }")"
