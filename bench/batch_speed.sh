#!/bin/sh
# Times a batch of screen files on one and on two threads, and a BMP batch (on one thread,
# and with the default of one thread a processor) against cp of the same finished BMPs,
# each the best of RUNS runs, with the load average before and after. The BMP batch and cp take turns, run after run: every run first removes the files
# of the one before, and the time ext4 then spends finding a free inode grows with the
# inodes freed in the last minute, so both see the same file system.
# Usage: bench/batch_speed.sh [BUILD_DIR] [RUNS] (default build, 5 runs).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
runs=${2:-5}
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

echo "before: $(uptime)"

seconds() { # OUTDIR COMMAND...: the wall-clock seconds of one run into a fresh OUTDIR
    rm -rf "$1"
    shift
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk "BEGIN { print $end - $start }"
}
least() { # A B: the smaller
    awk "BEGIN { print ($1 < $2) ? $1 : $2 }"
}

one=1e9
two=1e9
run=0
while [ "$run" -lt "$runs" ]; do
    one=$(least "$one" "$(seconds "$work/j1" "$exporter" -q -j 1 -d "$work/j1" "$work"/in/*)")
    two=$(least "$two" "$(seconds "$work/j2" "$exporter" -q -j 2 -d "$work/j2" "$work"/in/*)")
    run=$((run + 1))
done
printf '%d files to PNG: -j 1 %.3f s, -j 2 %.3f s, ratio -j 2 / -j 1 = %.2f\n' \
    "$files" "$one" "$two" "$(awk "BEGIN { print $two / $one }")"

ls "$work"/in/* | head -n "$copies" > "$work/list"
bmp=1e9
parallel=1e9
copy=1e9
run=0
while [ "$run" -lt "$runs" ]; do
    bmp=$(least "$bmp" "$(seconds "$work/bmp" \
        sh -c "xargs '$exporter' -q -j 1 --format bmp -d '$work/bmp' < '$work/list'")")
    parallel=$(least "$parallel" "$(seconds "$work/bmp" \
        sh -c "xargs '$exporter' -q --format bmp -d '$work/bmp' < '$work/list'")")
    copy=$(least "$copy" "$(seconds "$work/copied" \
        sh -c "mkdir '$work/copied' && cp '$work'/bmp/* '$work/copied/'")")
    run=$((run + 1))
done
printf '%d files to BMP: -j 1 %.3f s, default (%d threads) %.3f s; cp of the BMPs %.3f s; ratios %.2f and %.2f (best of %d)\n' \
    "$copies" "$bmp" "$(nproc)" "$parallel" "$copy" "$(awk "BEGIN { print $bmp / $copy }")" \
    "$(awk "BEGIN { print $parallel / $copy }")" "$runs"
echo "after: $(uptime)"
