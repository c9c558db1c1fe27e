#!/bin/sh
# Disk images that claim far more than a floppy holds, through tessarin-export:
#  - the first picture of a 32 MiB disk of 983,040 directory entries in 31 nested folders
#    (time and peak memory);
#  - a batch over a disk of 2,000 and one of 8,000 pictures in 31 nested folders, one
#    thread: the time should grow with the entries, not with their square.
# Usage: bench/hostile_disk_speed.sh [BUILD_DIR] (default build). Disks by tessarin-make-disk.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
exporter="$build/tessarin-export"
make_disk="$build/tessarin-make-disk"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# "SECONDS PEAK_KB" of a command, its output thrown away; its failure is no failure here
# (a disk with damage ends with status 1 after converting what it could).
measure() {
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
    cat "$work/time"
}

"$make_disk" giant "$work/GIANT.DSK"
set -- $(measure "$exporter" -o "$work/giant.png" "$work/GIANT.DSK")
echo "first picture of the 983,040-entry disk: $1 s, $(($2 / 1024)) MB peak"
test -s "$work/giant.png"

for n in 2000 8000; do
    "$make_disk" deep "$n" "$work/D$n.DSK"
    set -- $(measure "$exporter" --quiet -j 1 -d "$work/out$n" "$work/D$n.DSK")
    echo "batch of $n pictures in nested folders: $1 s, $(($2 / 1024)) MB peak"
    echo "$1" >"$work/t$n"
    test "$(find "$work/out$n" -type f | wc -l)" -eq "$n"
done
awk -v a="$(cat "$work/t2000")" -v b="$(cat "$work/t8000")" \
    'BEGIN { printf "8,000 against 2,000 entries: %.1f times the time\n", b / a }'
