#!/bin/sh
# A batch over an archive against the same files in a folder, one thread
# (`tessarin-export -q -j 1 -d OUT INPUT`): N screen 5 files of 27 KB (runs of random
# colours, which pack as pictures do) in a folder, a stored and a deflated .zip, a solid and
# a non-solid .7z, an .lzh, and gzipped 720 KB disk images (.dsk.gz, 26 files to a disk, as
# many disks as the files fill, all given to one batch), at each N; seconds of processor
# time (user and system: on a shared machine the wall clock says more of the others' work
# than of ours), and each one's time over the folder's.
# Usage: bench/archive_batch_speed.sh [BUILD_DIR] [N...] (default build, 500 2000 8000).
# Needs python3, zip, 7z (p7zip-full), jlha (jlha-utils), mtools, gzip and GNU time.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
[ $# -gt 0 ] && shift
sizes=${*:-500 2000 8000}
exporter="$build/tessarin-export"
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

seconds() {
    rm -rf "$work/out"
    /usr/bin/time -f '%U %S' -o "$work/time" "$exporter" -q -j 1 -d "$work/out" "$@"
    awk '{ printf "%.2f", $1 + $2 }' "$work/time"
}

printf '%-8s %8s %8s %8s %8s %8s %8s %8s\n' files folder zip-0 zip 7z-solid 7z lzh dsk.gz
for n in $sizes; do
    rm -rf "$work/in" "$work/gz" "$work"/A.*
    mkdir "$work/in" "$work/gz"
    python3 - "$work/in" "$n" <<'PY'
import random, sys
random.seed(1)
header = bytes([0xFE, 0, 0, 0xFF, 0x69, 0, 0])  # BSAVE 0000-69FF: a screen 5 picture
for i in range(int(sys.argv[2])):
    body = bytearray()
    while len(body) < 0x6A00:
        body += bytes([random.randrange(256)]) * random.randrange(1, 40)
    open("%s/P%05d.SC5" % (sys.argv[1], i), "wb").write(header + bytes(body[:0x6A00]))
PY
    (cd "$work/in" && zip -q -0 ../A.0.zip ./* && zip -q ../A.zip ./* &&
        7z a -bd -ms=on ../A.solid.7z ./* >/dev/null && 7z a -bd -ms=off ../A.7z ./* >/dev/null &&
        jlha aq ../A.lzh ./* >/dev/null)
    # 26 files of 27 KB fill the 713 clusters of 1 KB of a 720 KB disk.
    (cd "$work/in" && ls | xargs -n 26 | awk '{ print NR, $0 }' | while read -r i files; do
        disk=$(printf '%s/gz/D%04d.DSK' "$work" "$i")
        mformat -C -f 720 -i "$disk" :: && mcopy -i "$disk" $files :: && gzip "$disk"
    done)
    folder=$(seconds "$work/in")
    line=$(printf '%-8s %8s' "$n" "$folder")
    for archive in A.0.zip A.zip A.solid.7z A.7z A.lzh 'gz/*.DSK.gz'; do
        # shellcheck disable=SC2086 # the disks' pattern expands here
        t=$(seconds "$work"/$archive)
        line="$line $(printf '%8s' "$t($(echo "$t $folder" | awk '{ printf "%.1f", $1 / $2 }')x)")"
    done
    echo "$line"
done
