#!/bin/sh
# A catalogue against the plain batch over the same collection: N disk images (2.88 MB,
# made with mtools) of 50 pictures each, five of each of ten of tessarin-samples' screen
# files (screens 2 to 8, 10 and 12), every copy with four bytes of its picture set to its
# own number: each one a picture of its own, near duplicates of its sample's others. One
# folder walked with -r; the batch `-d`, `--catalogue` and `--contact-sheet`, each at -j 1
# and at one thread per processor, and `--catalogue --skip-existing` again over the
# catalogue made (nothing changed); wall-clock and processor seconds and peak memory
# (/usr/bin/time -v).
# Usage: bench/catalogue_speed.sh [BUILD_DIR] [N] ["JOBS..."] (default build, 1000, "1 and
# one per processor"). Needs python3, mtools and GNU time.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
disks=${2:-1000}
exporter="$build/tessarin-export"
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/coll" "$work/disk" "$work/samples"
"$build/tessarin-samples" "$work/samples" >/dev/null

python3 - "$work/samples" "$work/disk" "$disks" <<'PY'
import os, struct, sys
samples, disks, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
names = ["CELLS.SC2", "BLOCKS.SC3", "LINES.SC4", "LAND5.SC5", "APPEND5.SC5", "RAMP.SC6",
         "PAGE7.SC7", "LAND8.SC8", "YJK.SCC", "YJKA.SCA"]
bodies = [open(os.path.join(samples, n), "rb").read() for n in names]
for d in range(count):
    folder = "%s/%05d" % (disks, d)
    os.mkdir(folder)
    for i in range(50):
        n = i % len(names)
        body = bytearray(bodies[n])
        at = 7 + 4096 + 4 * (i // len(names))  # past the 7-byte BSAVE header
        body[at:at + 4] = struct.pack("<I", d * 50 + i)
        open("%s/P%02d%s" % (folder, i, names[n][-4:]), "wb").write(body)
PY
for folder in "$work"/disk/*; do
    image="$work/coll/D$(basename "$folder").DSK"
    mformat -C -f 2880 -i "$image" ::
    mcopy -i "$image" "$folder"/* ::/
    rm -rf "$folder"
done

# Wall-clock and processor seconds and peak resident kilobytes of one run; into a fresh
# OUT unless the first argument is "again".
measure() {
    if [ "$1" = again ]; then shift; else rm -rf "$work/out"; fi
    /usr/bin/time -v -o "$work/time" "$exporter" -q -r "$@" "$work/coll" >/dev/null || true
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0
                    for (i = 1; i <= n; i++) s = s * 60 + t[i]; printf "%8.2f %8.2f", s, cpu }
                /User time|System time/ { cpu += $2 }
                /Maximum resident/ { printf " %10d", $2 }' "$work/time"
}

threads=$(nproc)
jobs_list=${3:-1 $threads}
echo "$disks disks of 50 pictures ($((disks * 50)) pictures), $threads processors"
printf '%-34s %8s %8s %10s\n' run seconds cpu-s peak-KiB
for jobs in $jobs_list; do
    printf '%-34s %s\n' "batch -d, -j $jobs" "$(measure -j "$jobs" -d "$work/out")"
    printf '%-34s %s\n' "--contact-sheet, -j $jobs" "$(measure -j "$jobs" --contact-sheet "$work/out")"
    printf '%-34s %s\n' "--catalogue, -j $jobs" "$(measure -j "$jobs" --catalogue "$work/out")"
    printf '%-34s %s\n' "--catalogue --skip-existing, -j $jobs" \
        "$(measure again -j "$jobs" --skip-existing --catalogue "$work/out")"
done
