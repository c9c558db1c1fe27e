#!/usr/bin/env bash
# Rebuilds the committed seed corpus: small document inputs cut from the samples
# (control bytes, then VRAM0, VRAM1 and palette separated by "FILE"), command lines,
# small screen files of each layout and small disk images (the last need mtools).
set -euo pipefail
cd "$(dirname "$0")"
doc=corpus/document opt=corpus/options lay=corpus/layout dsk=corpus/disk_image
rm -rf "$doc" "$opt" "$lay" "$dsk"
mkdir -p "$doc" "$opt" "$lay" "$dsk"

# seed NAME MODE HDR0 HDR1 LINEPIX VIEWBYTE VRAM0-SAMPLE BYTES VRAM1-SAMPLE BYTES PALETTE
seed() {
    local name=$1 mode=$2 h0=$3 h1=$4 lp=$5 view=$6 s0=$7 n0=$8 s1=$9 n1=${10} pal=${11}
    {
        printf "\\x$(printf %02x "$mode")"
        printf "\\x$(printf %02x $((h0 & 255)))\\x$(printf %02x $((h0 >> 8)))"
        printf "\\x$(printf %02x $((h1 & 255)))\\x$(printf %02x $((h1 >> 8)))"
        printf "\\x$(printf %02x $((lp & 255)))\\x$(printf %02x $(((lp >> 8) & 255)))"
        printf "\\x$(printf %02x "$view")"
        if [[ -n $s0 ]]; then head -c "$n0" "../samples/$s0"; fi
        printf FILE
        if [[ -n $s1 ]]; then head -c "$n1" "../samples/$s1"; fi
        printf FILE
        if [[ -n $pal ]]; then cat "../samples/$pal"; fi
    } >"$doc/$name"
}
seed sc5-bars        5  7 7 256   0x00 BARS.SC5  9000 ""        0    BARS.PL5
seed sc6-ramp-mag    6  7 7 512   0x01 RAMP.SC6  9000 ""        0    ""
seed sc7-int-vram1   7  7 7 512   0x02 BARS7.SC7 6000 PAGE7.SC7 6000 BARS7.PL7
seed sc8-joi         8  7 0 256   0x03 RGB.SC8   9000 PAGE8.SC8 4000 ""
seed sc12-rot        12 7 7 256   0x44 YJK.SCC   9000 ""        0    ""
seed sc10-vrampal    10 7 7 256   0x47 YJKA.SCA  9000 ""        0    ""
seed packed-128      5  3 7 128   0x80 BARS.SC5  8000 ""        0    ""
seed zero-linepix    8  0 7 0     0x05 RGB.SC8   3000 ""        0    ""
seed wide-linepix    7  7 7 1000  0x06 BARS7.SC7 3000 ""        0    ""
seed big-header      7  32767 32767 512 0x00 BARS7.SC7 2000 PAGE7.SC7 100 ""
seed bad-mode-view   9  7 7 512   0x0B BARS7.SC7 1000 ""        0    ""
seed negative-view   7  7 7 512   0x1F BARS7.SC7 1000 ""        0    ""
seed short-palette   5  7 7 256   0x00 BARS.SC5  500  ""        0    ""
seed sc0-text40      0  7 7 256   0x00 TEXT40.SC0 4103 ""       0    ""
seed sc0-text80      80 7 7 512   0x01 TEXT80.SC0 6151 ""       0    ""
seed sc1-chars       1  7 7 256   0x00 CHARS.SC1 9000 ""        0    ""

# Command lines: arguments separated by NUL bytes.
args() { local name=$1; shift; printf '%s\0' "$@" >"$opt/$name"; }
args single      -o out.png BARS.SC5 BARS.PL5
args every       --screen 11 --vram1 P.SC7 --header0 0 --header1 32767 --line-pixels 128 \
                 --palette-source vram --size 512x424int --rotate --format bmp -q -o x.bmp A.SC7
args batch       -d out --palette P.PL5 A.SC5 a.pl5 B.SC7
args dashdash    -o x.bmp -- -odd.sc5
args help        --help
args bad-values  --size 9 --screen 13 --header0 -1 --line-pixels 0 -o x.bmp A.SC5
args equals      --output=x.png --screen=5 A.SC5
args catalogue   -r --catalogue out --thumbnail 64 GAME.DSK coll
args sheets      --contact-sheet out GAME.ZIP
args lines       --lines=192 --to sc6 -o x A.PNG

# Layouts: mode index (0..5: screens 5, 6, 7, 8, 10, 12), page base / 512, 8 bytes of file
# size past the bytes given (LE), then the file's first bytes (printf escapes).
layout() {
    local name=$1 mode=$2 page=$3 extra=$4 bytes=$5
    {
        printf "\\x$(printf %02x "$mode")\\x$(printf %02x "$page")"
        printf "\\x$(printf %02x $((extra & 255)))\\x$(printf %02x $(((extra >> 8) & 255)))"
        printf '\0\0\0\0\0\0'
        printf "$bytes"
    } >"$lay/$name"
}
layout bsave-exact   2 0   0     '\xfe\x00\x00\x03\x00\x00\x00\x11\x22\x33\x44'
layout bsave-palette 0 0   0     '\xfe\x80\x76\x87\x76\x00\x00\x11\x01\x22\x02\x33\x03\x44\x04'
layout bsave-short   2 128 30000 '\xfe\x00\x00\x9f\x76\x00\x00\x55\x55'
layout bsave-past    3 0   0     '\xfe\x10\x00\x11\x00\x00\x00\x01\x02\x03\x04\x05'
layout gs-runs       3 0   0     '\xfd\x00\x00\x06\x00\x00\x00\x00\x00\x41\x03\x07\x99'
layout gs-cut        5 255 0     '\xfd\x00\x00\x03\x00\x00\x00\x20\x00\x05'
layout copy-4bpp     0 0   0     '\x03\x00\x02\x00\x12\x34\x56'
layout copy-2bpp     1 64  0     '\x05\x00\x01\x00\x1b\xbf\x77'
layout copy-8bpp     4 128 0     '\x02\x00\x02\x00\x01\x02\x03\x04'
layout copy-254      3 0   0     '\xfe\x00\x01\x00\x01\x01\x01\x01\x01\x01\x01\x01'
layout raw           2 0   65535 '\x00\x01\x02\x03\x04\x05\x06\x07\x08'
# A palette appended after a BSAVE's data, one past its end address, a palette BSAVE.
layout bsave-append  3 0   0     '\xfe\x00\x00\x03\x00\x00\x00\x11\x22\x33\x44\x00\x00\x51\x03\x22\x06\x73\x01\x44\x04\x15\x07\x66\x02\x37\x05\x00\x00\x51\x03\x22\x06\x73\x01\x44\x04\x15\x07\x66\x02\x37\x05'
layout bsave-beyond  3 0   0     '\xfe\x70\x76\x77\x76\x00\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x00\x00\x51\x03\x22\x06\x73\x01\x44\x04\x15\x07\x66\x02\x37\x05\x00\x00\x51\x03\x22\x06\x73\x01\x44\x04\x15\x07\x66\x02\x37\x05'
layout palette-bsave 3 0   0     '\xfe\x80\x76\x9f\x76\x00\x00\x00\x00\x51\x03\x22\x06\x73\x01\x44\x04\x15\x07\x66\x02\x37\x05\x00\x00\x51\x03\x22\x06\x73\x01\x44\x04\x15\x07\x66\x02\x37\x05'

# Disk images. poke FILE OFFSET BYTES... writes hexadecimal bytes at OFFSET.
poke() {
    local file=$1 at=$2 bytes=""
    shift 2
    for b in "$@"; do bytes+="\\x$b"; done
    printf "$bytes" | dd of="$file" bs=1 seek="$at" conv=notrunc status=none
}
# dirent FILE OFFSET NAME11 ATTR CLUSTER SIZE: a 32-byte directory entry (sizes below 64 KB).
dirent() {
    local file=$1 at=$2 name=$3 attr=$4 cluster=$5 size=$6
    printf %s "$name" | dd of="$file" bs=1 seek="$at" conv=notrunc status=none
    poke "$file" $((at + 11)) "$attr"
    poke "$file" $((at + 26)) "$(printf %02x $((cluster & 255)))" "$(printf %02x $((cluster >> 8)))"
    poke "$file" $((at + 28)) "$(printf %02x $((size & 255)))" "$(printf %02x $((size >> 8)))"
}
# The smallest geometry: 128-byte sectors, a cluster a sector, one reserved sector, one FAT
# sector, 16 root entries in sectors 2..5, 34 clusters from sector 6 (8 sectors a track, one
# side); a fragmented file (clusters 2, 3, 5), an empty one and a subdirectory (cluster 4)
# holding a file (cluster 6).
tiny=$dsk/tiny
head -c $((40 * 128)) /dev/zero >"$tiny"
poke "$tiny" 11 80 00 01 01 00 01 10 00 28 00 f9 01 00 08 00 01 00
poke "$tiny" 128 f9 ff ff 03 50 00 ff ff ff ff 0f 00
dirent "$tiny" 256 "PIC     SC5" 00 2 300
dirent "$tiny" 288 "SUB        " 10 4 0
dirent "$tiny" 320 "EMPTY      " 00 0 0
dirent "$tiny" 1024 ".          " 10 4 0
dirent "$tiny" 1056 "..         " 10 0 0
dirent "$tiny" 1088 "TITLE   SC7" 00 6 50
put() { dd of="$tiny" bs=1 seek="$1" conv=notrunc status=none; } # clusters 2.. from 768
head -c 256 ../samples/BARS.SC5 | put 768
head -c 300 ../samples/BARS.SC5 | tail -c 44 | put 1152
head -c 50 ../samples/BARS7.SC7 | put 1280
# A 720 KB disk as mtools writes it, cut after its first files.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mformat -C -f 720 -i "$scratch/d" ::
mmd -i "$scratch/d" ::/SUB
head -c 2500 ../samples/BARS.SC5 >"$scratch/a"
mcopy -i "$scratch/d" "$scratch/a" ::/A.SC5
mcopy -i "$scratch/d" "$scratch/a" ::/SUB/B.SC5
head -c 12288 "$scratch/d" >"$dsk/mtools-720-cut"

# DMK track images of that disk's first tracks, as the tests' maker lays them.
dmk=corpus/dmk
rm -rf "$dmk" && mkdir -p "$dmk"
c++ -std=c++20 -O2 -I.. -x c++ - -o "$scratch/dmk" <<'CPP'
#include "tests/support/dmk_make.h"
#include <iostream>
#include <iterator>
#include <string>
int main(int, char** argv) {
    std::vector<std::uint8_t> in{std::istreambuf_iterator<char>(std::cin), {}};
    const int sides = std::stoi(argv[1]);
    const auto out = tessarin::test::dmkOf(in, 2, sides, 9);
    std::cout.write(reinterpret_cast<const char*>(out.data()), static_cast<long>(out.size()));
}
CPP
"$scratch/dmk" 2 <"$scratch/d" >"$dmk/mtools-720-two-tracks"
"$scratch/dmk" 1 <"$scratch/d" >"$dmk/one-side"

# Output names that collide: pictures by stem and longer stem, disks' folders, dots.
nam=corpus/output_names
rm -rf "$nam" && mkdir -p "$nam"
printf '\x00PIC/PIC.SC5\x00\x00PIC/PIC.SR8\x00\x01GAME\x00\x01GAME\x00\x01PIC.png\x00\x00../..\x00\x00X\x01Y/X\x01Y.SC5\x00\x00PIC.SC5-2/PIC.SC5-2.SC5' >"$nam/collisions"
printf '\x01..\x00\x01.\x00\x00/\x00\x00a/b' >"$nam/dots"

# An earlier catalogue's table, a NUL, its state: as a run writes them, and one cut short.
tab=corpus/catalogue_table
rm -rf "$tab" && mkdir -p "$tab"
{
    printf 'location\tmode\tlayout\tpalette\tsize\thash\tnear-hash\tpicture\tthumbnail\n'
    printf 'coll/A.SC5\tscreen 5\tBSAVE 0000\xe2\x80\x93E9FF\tpalette: A.PL5\t256x212\t177cded543a07cfe\t3a71181818181818\tpictures/coll/A.png\tthumbs/coll/A.png\n'
    printf 'coll/G.DSK/B\\x01.SC8\tscreen 8\t\t\t256x212\t40fe473299a5157e\t4242424242424242\tpictures/coll/G/B.png\tthumbs/coll/G/B.png\n'
    printf '\0location\tsources\tthumbnail-size\n'
    printf 'coll/A.SC5\tscreen 5 view 0 thumbnail 128|coll/A.SC5 59911 1796965627.820558358\t128x106\n'
    printf 'coll/G.DSK/B\\x01.SC8\tscreen 8 view 0 thumbnail 128|coll/G.DSK 737280 17.5\t128x106\n'
} >"$tab/two-rows"
head -c 300 "$tab/two-rows" >"$tab/cut"

# Packed streams: a worked-out ZX0 one and small pictures packed by the tests' packers;
# archives (a first byte 0 for ZIP/LZH/7z, 1 for gzip) as Debian's archivers make them.
arc=corpus/archive
rm -rf corpus/zx0 corpus/zx7 corpus/aplib "$arc" && mkdir -p corpus/zx0 corpus/zx7 corpus/aplib "$arc"
printf '\xed\x41\xfe\x55\x56' >corpus/zx0/aaaa
c++ -std=c++20 -O2 -I.. -x c++ - -o "$scratch/pack" <<'CPP'
#include "tests/support/aplib_pack.h"
#include "tests/support/zx0_pack.h"
#include "tests/support/zx7_pack.h"
#include <iostream>
#include <iterator>
#include <string>
int main(int, char** argv) {
    std::vector<std::uint8_t> in{std::istreambuf_iterator<char>(std::cin), {}};
    const std::string packing = argv[1];
    const auto out = packing == "zx0"   ? tessarin::test::packZx0(in)
                     : packing == "zx7" ? tessarin::test::packZx7(in)
                                        : tessarin::test::packAplib(in);
    std::cout.write(reinterpret_cast<const char*>(out.data()), static_cast<long>(out.size()));
}
CPP
for packing in zx0 zx7 aplib; do
    head -c 3000 ../samples/BARS.SC5 | "$scratch/pack" $packing >corpus/$packing/bars-3000
    head -c 2000 ../samples/YJK.SCC | "$scratch/pack" $packing >corpus/$packing/yjk-2000
done
# Cassette images by the tests' maker: a BSAVE file from stdin (cut or whole) twice, a BASIC
# and an ASCII file between.
cas=corpus/cassette
rm -rf "$cas" && mkdir -p "$cas"
c++ -std=c++20 -O2 -I.. -x c++ - -o "$scratch/tape" <<'CPP'
#include "tests/support/cassette_make.h"
#include <iostream>
#include <iterator>
int main() {
    using namespace tessarin::test;
    const std::vector<std::uint8_t> bsave{std::istreambuf_iterator<char>(std::cin), {}};
    std::vector<std::uint8_t> tape;
    casBinaryFile(tape, "PIC", bsave);
    casHeader(tape, kCasBasic, "LOADER");
    casBlock(tape, std::vector<std::uint8_t>{0x09, 0x80, 0x0A, 0x00, 0x91, 0, 0, 0});
    casAsciiFile(tape, "LIST", "10 PRINT\r\n");
    casBinaryFile(tape, "PIC", bsave);
    std::cout.write(reinterpret_cast<const char*>(tape.data()), static_cast<long>(tape.size()));
}
CPP
printf '\xfe\x00\x00\x07\x00\x00\x00ABCDEFGH' | "$scratch/tape" >"$cas/small"
head -c 2000 ../samples/BARS.SC5 | "$scratch/tape" >"$cas/bars-cut"
mkdir "$scratch/files"
head -c 600 ../samples/BARS.SC5 >"$scratch/files/A.SC5"
head -c 32 ../samples/BARS.PL5 >"$scratch/files/A.PL5"
archive() { { printf "$2"; cat "$scratch/out"; } >"$arc/$1"; rm -f "$scratch/out"; }
(cd "$scratch/files" && zip -q "$scratch/out.zip" A.SC5 A.PL5 && mv "$scratch/out.zip" "$scratch/out") && archive zip '\0'
(cd "$scratch/files" && 7z a -bd "$scratch/out.7z" A.SC5 A.PL5 >/dev/null && mv "$scratch/out.7z" "$scratch/out") && archive 7z '\0'
(cd "$scratch/files" && jlha a "$scratch/out.lzh" A.SC5 A.PL5 >/dev/null && mv "$scratch/out.lzh" "$scratch/out") && archive lzh '\0'
gzip -c "$scratch/files/A.SC5" >"$scratch/out" && archive gz '\1'
# A name beyond ASCII; a gzip file whose CRC-32 does not match its data (600 bytes).
(cd "$scratch/files" && cp A.SC5 "$(printf '\303\251.SC5')" && 7z a -bd "$scratch/out.7z" ./*.SC5 >/dev/null && mv "$scratch/out.7z" "$scratch/out") && archive 7z-utf8 '\0'
{ gzip -c "$scratch/files/A.SC5" | head -c -8 && printf '\0\0\0\0\130\2\0\0'; } >"$scratch/out" && archive gz-bad-crc '\1'
# Pictures to convert: every PNG kind (8 and 16 bits, palette with transparency, grey with
# alpha), JPEGs (colour, grey, CMYK, progressive), one cut short and one claiming
# 100,000 x 100,000 pixels (needs ImageMagick and Python).
img=corpus/image_input
rm -rf "$img"
mkdir -p "$img"
convert -size 12x9 gradient:red-blue "PNG24:$img/rgb8.png"
convert -size 12x9 gradient:red-blue -depth 16 "PNG48:$img/rgb16.png"
convert -size 12x9 xc:none -fill red -draw 'rectangle 2,2 6,5' "PNG8:$img/palette-trns.png"
convert -size 12x9 gradient:white-black -alpha set -channel A -evaluate set 50% "PNG32:$img/grey-alpha.png"
convert -size 16x16 gradient:red-blue -quality 80 "$img/colour.jpg"
convert -size 16x16 gradient:white-black -colorspace Gray "$img/grey.jpg"
convert -size 16x16 gradient:red-blue -colorspace CMYK "$img/cmyk.jpg"
convert -size 16x16 gradient:green-blue -interlace Plane "$img/progressive.jpg"
head -c 200 "$img/colour.jpg" >"$img/cut-short.jpg"
# An EXIF orientation (6: a quarter clockwise) in an APP1 marker after SOI.
{ head -c 2 "$img/colour.jpg" && printf '\377\341\0\042Exif\0\0II*\0\10\0\0\0\1\0\22\1\3\0\1\0\0\0\6\0\0\0\0\0\0\0' && tail -c +3 "$img/colour.jpg"; } >"$img/exif-turned.jpg"
python3 - "$img/rgb8.png" "$img/huge.png" <<'PY'
import struct, sys, zlib
data = bytearray(open(sys.argv[1], "rb").read())
# IHDR's width and height at bytes 16..23, its CRC after the 13 data bytes.
data[16:24] = struct.pack(">II", 100000, 100000)
data[29:33] = struct.pack(">I", zlib.crc32(bytes(data[12:29])))
open(sys.argv[2], "wb").write(data)
PY

# Main ROMs: a font 16 bytes in (CGTABL 0010h), and a CGTABL past the bytes' end.
fnt=corpus/font
rm -rf "$fnt" && mkdir -p "$fnt"
python3 - "$fnt" <<'PY'
import sys
out = sys.argv[1]
open(out + "/rom-font-at-16", "wb").write(bytes([0, 0, 0, 0, 16, 0] + [0] * 10 + [(i * 37) & 255 for i in range(2048)]))
open(out + "/short", "wb").write(bytes([0, 0, 0, 0, 0xBF, 0x1B]))
PY
