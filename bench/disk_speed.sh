#!/bin/sh
# Disk images against folders, through tessarin-export, each figure the median of RUNS:
#  - one picture: the first picture of a 720 KB disk image (`-o OUT GAME.DSK`) against the
#    same file copied off the disk by mcopy;
#  - a batch: a 720 KB disk image (the largest MSX floppy) of 50 pictures, the samples
#    under 16 KB in turn, against the same 50 files in a folder, one thread.
# Usage: bench/disk_speed.sh [BUILD_DIR] [RUNS] (default build, 21). Needs mtools.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
runs=${2:-21}
exporter="$build/tessarin-export"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# "LABEL_A N µs, LABEL_B M µs": the medians of RUNS runs of the shell functions a and b,
# taking turns, each timed from its start to its end.
compare() {
    : >"$work/a.us"
    : >"$work/b.us"
    i=0
    while [ "$i" -lt "$runs" ]; do
        for f in a b; do
            begin=$(now)
            "$f" >/dev/null
            end=$(now)
            echo $(((end - begin) / 1000)) >>"$work/$f.us"
        done
        i=$((i + 1))
    done
    echo "$1 $(median <"$work/a.us") µs, $2 $(median <"$work/b.us") µs"
}

disk="$work/GAME.DSK"
mformat -C -f 720 -i "$disk" ::
mcopy -i "$disk" "$src/samples/BARS7.SC7" ::/PIC.SC7
mcopy -i "$disk" "$src/samples/LAND5.SC5" ::/TITLE.SC5
mkdir "$work/off"
mcopy -i "$disk" ::/PIC.SC7 "$work/off/PIC.SC7"
a() { "$exporter" --quiet --format bmp -o "$work/a.bmp" "$disk"; }
b() { "$exporter" --quiet --format bmp -o "$work/b.bmp" "$work/off/PIC.SC7"; }
compare "first picture of a 720 KB disk:" "the same file:"
cmp "$work/a.bmp" "$work/b.bmp"

many="$work/MANY.DSK"
mformat -C -f 720 -i "$many" ::
mkdir "$work/folder"
set -- $(find "$src/samples" -name '*.SC?' -size -16k | sort)
i=0
while [ "$i" -lt 50 ]; do
    shift_by=$((i % $# + 1))
    sample=$(eval echo "\${$shift_by}")
    name=$(printf 'P%02d.%s' "$i" "${sample##*.}")
    cp "$sample" "$work/folder/$name"
    mcopy -i "$many" "$sample" "::/$name"
    i=$((i + 1))
done
# Each run starts with no outputs, as a first batch does.
a() { rm -rf "$work/outa"; "$exporter" --quiet -j 1 --format bmp -d "$work/outa" "$many"; }
b() { rm -rf "$work/outb"; "$exporter" --quiet -j 1 --format bmp -d "$work/outb" "$work"/folder/*; }
compare "batch of 50 pictures from a disk image:" "from a folder:"
diff -r "$work/outa/MANY" "$work/outb"
