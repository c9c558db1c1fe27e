#!/usr/bin/env bash
# The installed MIME data as GLib, and so a file manager, reads it from a private data
# folder: screen and palette files are ours by their own extensions or by their content;
# other programs' files that share an extension are not.   mime_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
samples=$1/samples
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cmake --install "$2" --prefix "$scratch/usr" >/dev/null
update-mime-database "$scratch/usr/share/mime" 2>/dev/null
cd "$scratch"

cp "$samples/BARS.SC5" PIC.SC5; cp "$samples/PAGE12.SCC" PIC.S12; cp "$samples/BARS.PL5" PIC.PL5
cp "$samples/BARS.SC5" PICTURE.PIC; cp "$samples/CELLS.SC2" CELLS.GRP
cp "$samples/LAND8.SR8" LAND.SRC; cp "$samples/BARS.PL5" BARS.PAL; cp "$samples/LOOSE5.PL5" LOOSE.PAL
printf 'Notes for Monday\n' >notes.pic
printf '#include <stdio.h>\nint main(void) { return 0; }\n' >main.src
printf 'RIFF\x18\0\0\0PAL data\x0c\0\0\0\0\x03\x02\0\xff\0\0\0\0\xff\0\0' >colors.pal
printf '[Group]\nName=Accessories\n' >prog.grp
cp "$(type -P true)" a.bin
head -c 4096 /dev/zero >zeros.bin
cp PIC.SC5 PIC.SC5.zx7; cp PIC.SC5 PIC.SC5.apl
{ printf '\x1f\xa6\xde\xba\xcc\x13\x7d\x74'; head -c 16 /dev/zero; } >GAME.CAS

failed=0
for expected in PIC.SC5:image/x-msx-screen PIC.S12:image/x-msx-screen \
    PICTURE.PIC:image/x-msx-screen CELLS.GRP:image/x-msx-screen LAND.SRC:image/x-msx-screen \
    PIC.PL5:application/x-msx-palette BARS.PAL:application/x-msx-palette \
    LOOSE.PAL:application/x-msx-palette PIC.SC5.zx7:image/x-msx-screen \
    PIC.SC5.apl:image/x-msx-screen GAME.CAS:application/x-msx-cassette \
    notes.pic: main.src: colors.pal: prog.grp: a.bin: zeros.bin:; do
    file=${expected%%:*}
    type=$(XDG_DATA_HOME="$scratch/home" XDG_DATA_DIRS="$scratch/usr/share:/usr/share" \
        gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
    # An empty expectation: any type but ours.
    if [[ -z $type ]] || [[ -n ${expected#*:} && $type != "${expected#*:}" ]] ||
        [[ -z ${expected#*:} && $type =~ x-msx ]]; then
        echo "$file: $type, expected ${expected#*:}" >&2
        failed=1
    fi
done
exit $failed
