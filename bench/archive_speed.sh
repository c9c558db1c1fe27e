#!/bin/sh
# An archive against a folder, through tessarin-export, each figure the median of RUNS:
# the first picture of a 2 MB .zip of 20 720 KB disk images (`-o OUT GAME.ZIP`, the picture
# on the first disk) against the same file in a folder. Each disk holds two pictures and
# 90 KB of bytes that do not pack, so that the archive is as large as real collections.
# Usage: bench/archive_speed.sh [BUILD_DIR] [RUNS] (default build, 21). Needs mtools, zip.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
runs=${2:-21}
exporter="$build/tessarin-export"
# In memory where there is one: the outputs' flush to disk is no part of the reading.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The processor time of a run (perf's task-clock) where perf runs, as a shared machine's
# wall clock says more of the other programs than of ours; else the wall clock.
if perf stat -x, -e task-clock -o "$work/probe" true 2>/dev/null; then
    clock="processor time"
    timed() { perf stat -x, -e task-clock -o "$work/stat" "$@" >/dev/null &&
        awk -F, '/task-clock/ { printf "%d\n", $1 * 1000 }' "$work/stat"; }
else
    clock="wall clock"
    timed() { begin=$(date +%s%N); "$@" >/dev/null; echo $((($(date +%s%N) - begin) / 1000)); }
fi
# "LABEL_A N µs, LABEL_B M µs": the medians of RUNS runs of the commands $a and $b, taking
# turns.
compare() {
    : >"$work/a.us"
    : >"$work/b.us"
    i=0
    while [ "$i" -lt "$runs" ]; do
        timed $a >>"$work/a.us"
        timed $b >>"$work/b.us"
        i=$((i + 1))
    done
    echo "$1 $(median <"$work/a.us") µs, $2 $(median <"$work/b.us") µs ($clock)"
}

mkdir "$work/disks" "$work/off"
cp "$src/samples/BARS7.SC7" "$work/off/PIC.SC7"
i=0
while [ "$i" -lt 20 ]; do
    disk=$(printf '%s/disks/GAME%02d.DSK' "$work" "$i")
    mformat -C -f 720 -i "$disk" ::
    head -c 90000 /dev/urandom >"$work/FILL.BIN"
    mcopy -i "$disk" "$work/off/PIC.SC7" "$work/FILL.BIN" ::/
    mcopy -i "$disk" "$src/samples/LAND5.SC5" ::/ZOOM.SC5
    i=$((i + 1))
done
(cd "$work/disks" && zip -q "$work/GAME.ZIP" ./*.DSK)
echo "archive: $(wc -c <"$work/GAME.ZIP") bytes"
a="$exporter --quiet --format bmp -o $work/a.bmp $work/GAME.ZIP"
b="$exporter --quiet --format bmp -o $work/b.bmp $work/off/PIC.SC7"
compare "first picture of a .zip of 20 disks:" "the same file in a folder:"
cmp "$work/a.bmp" "$work/b.bmp"
