#!/bin/sh
# The thumbnail grid in the real window, on an X server of its own (Xvfb, 1600x1000), the
# window 1100x800 (tessarin-grid-bench):
#  - a 720 KB disk image of 50 pictures (screens 2 to 5 and 8, made by tessarin-samples,
#    laid on the disk by mtools): ms from the start to the first screenful of thumbnails
#    painted, beside the single view's start on one of its pictures; the median of RUNS;
#  - a folder of 2,000 screen files (hard links of the samples, screens 5, 7, 8 and 12 in
#    turn): Page Down from the top to the bottom of the grid, each step's ms, and the
#    memory beside the single view's of the same folder.
# Usage: bench/grid_speed.sh [BUILD_DIR] [RUNS] (default build, 5); the build needs
# -DTESSARIN_BENCH=ON. Needs xvfb-run and mtools: scripts/deps.sh bench.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
runs=${2:-5}

if [ -z "${TESSARIN_IN_XVFB:-}" ]; then
    TESSARIN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$build" "$runs"
fi

bench="$build/bench/tessarin-grid-bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
export QT_QPA_PLATFORM=xcb
# Each run starts without the last run's window place and zoom.
export XDG_CONFIG_HOME="$work/config"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
# The figure before " ms" in the bench's line.
ms() { sed -n 's/.*: \([0-9.]*\) ms.*/\1/p'; }

mkdir "$work/samples" "$work/disk"
"$build/tessarin-samples" "$work/samples"
i=0
for s in CELLS.SC2 BLOCKS.SC3 LINES.SC4 CROP5.SC5 LAND8.SR8; do
    for n in 0 1 2 3 4 5 6 7 8 9; do
        cp "$work/samples/$s" "$work/disk/P$i$n.${s##*.}"
    done
    i=$((i + 1))
done
disk="$work/PICS.DSK"
mformat -C -f 720 -i "$disk" ::
mcopy -i "$disk" "$work"/disk/* ::/
echo "disk: $(ls -l "$disk" | awk '{ print $5 }') bytes, $(mdir -b -i "$disk" :: | wc -l) pictures"

: >"$work/grid.ms"
: >"$work/single.ms"
i=0
while [ "$i" -lt "$runs" ]; do
    "$bench" grid "$disk" | ms >>"$work/grid.ms"
    "$bench" single "$disk/P00.SC2" | ms >>"$work/single.ms"
    i=$((i + 1))
done
echo "median of $runs: grid of the disk's 50 pictures, first screenful painted" \
    "$(median <"$work/grid.ms") ms; single view's start $(median <"$work/single.ms") ms"

set -- BARS.SC5 BARS7.SC7 RGB.SC8 YJK.SCC
folder="$work/folder2000"
mkdir "$folder"
i=0
while [ "$i" -lt 2000 ]; do
    eval "s=\${$((i % $# + 1))}"
    ln "$work/samples/$s" "$folder/$(printf 'P%04d' "$i").${s##*.}"
    i=$((i + 1))
done
"$bench" single "$folder/P0000.SC5"
"$bench" scroll "$folder"
