#!/bin/sh
# A catalogue against the plain batch over the same collection: N disk images (1.44 MB,
# made with mtools) of 50 screen 5 files of 27 KB each (runs of random colours, every one
# its own picture), in one folder walked with -r; `--catalogue` and `-d` each at -j 1 and at
# one thread per processor; wall-clock seconds and peak memory (/usr/bin/time -v).
# Usage: bench/catalogue_speed.sh [BUILD_DIR] [N] (default build, 1000). Needs python3,
# mtools and GNU time.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
disks=${2:-1000}
exporter="$build/tessarin-export"
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/coll" "$work/disk"

python3 - "$work/disk" "$disks" <<'PY'
import os, random, sys
header = bytes([0xFE, 0, 0, 0xFF, 0x69, 0, 0])  # BSAVE 0000-69FF: a screen 5 picture
for d in range(int(sys.argv[2])):
    random.seed(d)
    folder = "%s/%05d" % (sys.argv[1], d)
    os.mkdir(folder)
    for i in range(50):
        body = bytearray()
        while len(body) < 0x6A00:
            body += bytes([random.randrange(256)]) * random.randrange(1, 40)
        open("%s/P%02d.SC5" % (folder, i), "wb").write(header + bytes(body[:0x6A00]))
PY
for folder in "$work"/disk/*; do
    image="$work/coll/D$(basename "$folder").DSK"
    mformat -C -f 1440 -i "$image" ::
    mcopy -i "$image" "$folder"/* ::/
    rm -rf "$folder"
done

# Wall-clock and processor seconds and peak resident kilobytes of one run into a fresh OUT.
measure() {
    rm -rf "$work/out"
    /usr/bin/time -v -o "$work/time" "$exporter" -q -r "$@" "$work/coll" >/dev/null || true
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0
                    for (i = 1; i <= n; i++) s = s * 60 + t[i]; printf "%8.2f %8.2f", s, cpu }
                /User time|System time/ { cpu += $2 }
                /Maximum resident/ { printf " %10d", $2 }' "$work/time"
}

threads=$(nproc)
echo "$disks disks of 50 pictures ($((disks * 50)) pictures), $threads processors"
printf '%-28s %8s %8s %10s\n' run seconds cpu-s peak-KiB
for jobs in 1 "$threads"; do
    printf '%-28s %s\n' "batch -d, -j $jobs" "$(measure -j "$jobs" -d "$work/out")"
    printf '%-28s %s\n' "--catalogue, -j $jobs" "$(measure -j "$jobs" --catalogue "$work/out")"
    printf '%-28s %s\n' "--contact-sheet, -j $jobs" "$(measure -j "$jobs" --contact-sheet "$work/out")"
done
