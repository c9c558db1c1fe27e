#!/bin/sh
# Compares the exporter's machine colours with openMSX's picture of the same VRAM: each
# sample's bytes written into the VRAM of openMSX's C-BIOS MSX2 and MSX2+ machines, the
# VDP set to the sample's mode with a known palette, a raw screenshot taken; the exporter's
# PNG of the same file with --colours msx2 / msx2+ and that palette; the pixels that
# differ counted. Needs openmsx, cbios, xvfb-run and imagemagick: scripts/deps.sh bench.
# Usage: scripts/compare_openmsx.sh [BUILD_DIR]
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
exporter="$build/tessarin-export"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# A palette with every level of every channel: entry i is red i%8, green (i+3)%8, blue
# (i*3)%8 (bytes 0RRR0BBB 00000GGG).
palette="$work/P.PL5"
i=0
: >"$palette"
while [ "$i" -lt 16 ]; do
    printf "$(printf '\\%03o\\%03o' $(((i % 8) << 4 | (i * 3) % 8)) $(((i + 3) % 8)))" >>"$palette"
    i=$((i + 1))
done

# More register writes after the mode's (the sprite picture's tables); none for the samples.
extra_regs=""

# R0 and R25 of each mode (R1 display on, R2 page 0, R8 64 KB, R9 212 lines, R7 border 0).
regs() {
    case $1 in
    5) echo "0x06 0x00" ;; 6) echo "0x08 0x00" ;; 7) echo "0x0A 0x00" ;;
    8) echo "0x0E 0x00" ;; 10) echo "0x0E 0x18" ;; 12) echo "0x0E 0x08" ;;
    esac
}

# The start of an openMSX script: $work/vram.bin and $palette read, and the chip's own
# levels, none of the renderer's TV effects.
script_start() {
    cat <<EOF
set f [open "$work/vram.bin" rb]
set data [read \$f]
close \$f
set pf [open "$palette" rb]
set pal [read \$pf]
close \$pf
set gamma 1.0
set brightness 0
set contrast 0
set noise 0
set scanline 0
set blur 0
set glow 0
EOF
}

# openMSX's raw screenshot of FILE's bytes (past its 7-byte BSAVE header) in MODE on
# MACHINE, the display area cut out at the picture's size.
openmsx_picture() { # MACHINE MODE FILE OUT WIDE
    interleaved=0
    [ "$2" -ge 7 ] && interleaved=1
    set -- "$1" "$2" "$3" "$4" "$5" $(regs "$2") "$interleaved"
    tail -c +8 "$3" >"$work/vram.bin"
    script_start >"$work/shot.tcl"
    cat >>"$work/shot.tcl" <<EOF
after time 4 {
    if {$8} {
        # Screens 7 and up keep even addresses in the first 64 KB chip, odd in the second.
        binary scan \$data cu* bytes
        set a 0
        foreach b \$bytes {
            debug write "physical VRAM" [expr {(\$a >> 1) | ((\$a & 1) << 16)}] \$b
            incr a
        }
    } else {
        debug write_block "physical VRAM" 0 \$data
    }
    vdpreg 0 $6
    vdpreg 1 0x40
    vdpreg 2 0x1F
    vdpreg 7 0
    vdpreg 8 0x0A
    vdpreg 9 0x80
    vdpreg 18 0
    vdpreg 23 0
    vdpreg 25 $7
    vdpreg 16 0
    $extra_regs
    binary scan \$pal c* bytes
    foreach b \$bytes { debug write ioports 0x9A [expr {\$b & 0xFF}] }
    after time 0.2 {
        screenshot -raw -doublesize "$work/shot.png"
        exit
    }
}
EOF
    QT_QPA_PLATFORM=offscreen timeout 120 xvfb-run -a openmsx -machine "$1" -script "$work/shot.tcl" \
        >"$work/openmsx.log" 2>&1 || { cat "$work/openmsx.log" >&2; return 1; }
    # 640x480: 2 x 320 x 240 with the picture's 256 (or 512) x 212 lines centred.
    convert "$work/shot.png" -crop 512x424+64+28 +repage "$4"
    [ "$5" = wide ] || convert "$4" -sample 256x212! "$4"
}

for machine_colours in "C-BIOS_MSX2 msx2" "C-BIOS_MSX2+ msx2+"; do
    set -- $machine_colours
    machine=$1 colours=$2
    for sample in BARS.SC5:5:plain RAMP.SC6:6:wide BARS7.SC7:7:wide RGB.SC8:8:plain \
        YJKA.SCA:10:plain YJK.SCC:12:plain; do
        file=${sample%%:*}
        rest=${sample#*:}
        mode=${rest%%:*}
        wide=${rest#*:}
        if [ "$colours" = msx2 ] && [ "$mode" -ge 10 ]; then continue; fi
        openmsx_picture "$machine" "$mode" "$src/samples/$file" "$work/theirs.png" "$wide"
        size=256x212
        [ "$wide" = wide ] && size=512x424mag
        "$exporter" --quiet --colours "$colours" --size "$size" --palette "$palette" \
            --palette-source file -o "$work/ours.png" "$src/samples/$file"
        note=""
        if [ "$mode" -ge 10 ]; then
            # openMSX shows a YJK screen one 4-pixel group further right in its frame:
            # compare the picture's first 252 columns with the frame's from the fifth.
            convert "$work/ours.png" -crop 252x212+0+0 +repage "$work/ours.png"
            convert "$work/theirs.png" -crop 252x212+4+0 +repage "$work/theirs.png"
            note=" (252 columns, openMSX's 4 pixels to the right)"
        fi
        differ=$(compare -metric AE "$work/ours.png" "$work/theirs.png" null: 2>&1 || true)
        echo "$machine $file (screen $mode): $differ pixels differ$note"
    done
done

# A sprite picture: BARS.SC5's first 7400h bytes, then sprite mode 2's tables where SCREEN 5
# keeps them (colours 7400h, attributes 7600h, 8x8 patterns 7800h): a sprite ORed with a CC
# sprite, nine on one line (the ninth not shown), one wrapping at Y 250, one 32 pixels to
# the left (early clock), and the list ended at Y 216 before one more.
sprites="$work/SPRITES.SC5"
poke() { # ADDRESS BYTE... into the VRAM bytes of $sprites (past the 7-byte header)
    at=$(($1 + 7))
    shift
    for b in "$@"; do
        printf "$(printf '\\%03o' "$b")" | dd of="$sprites" bs=1 seek="$at" conv=notrunc status=none
        at=$((at + 1))
    done
}
printf '\376\000\000\377\177\000\000' >"$sprites"
tail -c +8 "$src/samples/BARS.SC5" | head -c $((0x7400)) >>"$sprites"
head -c $((0x8000 - 0x7400)) /dev/zero >>"$sprites"
poke $((0x7800)) 255 255 255 255 255 255 255 255 24 60 126 255 255 126 60 24 170 85 170 85 170 85 170 85
sprite() { # NUMBER Y X PATTERN COLOUR-BYTE (bits 7 EC, 6 CC; each line's colour one more)
    poke $((0x7600 + 4 * $1)) "$2" "$3" "$4" 0
    line=0
    while [ "$line" -lt 16 ]; do
        poke $((0x7400 + 16 * $1 + line)) $((($5 & 0xC0) | ((($5 & 15) + line - 1) % 15 + 1)))
        line=$((line + 1))
    done
}
sprite 0 19 10 1 1
sprite 1 19 14 0 $((0x40 | 2))
n=2
while [ "$n" -le 10 ]; do
    sprite "$n" 59 $((20 * n)) 0 $((n + 2))
    n=$((n + 1))
done
sprite 11 250 100 2 15
sprite 12 99 40 1 $((0x80 | 9))
sprite 13 216 0 0 15
sprite 14 120 120 0 15
# R#8 with sprites on (SPD clear), R#5/R#11 the attribute table at 7600h, R#6 the patterns at 7800h.
extra_regs="vdpreg 8 0x08; vdpreg 5 0xEF; vdpreg 11 0; vdpreg 6 0x0F"
openmsx_picture C-BIOS_MSX2 5 "$sprites" "$work/theirs.png" plain
"$exporter" --quiet --colours msx2 --sprites on --palette "$palette" --palette-source file \
    -o "$work/ours.png" "$sprites"
differ=$(compare -metric AE "$work/ours.png" "$work/theirs.png" null: 2>&1 || true)
echo "C-BIOS_MSX2 SPRITES.SC5 (screen 5, 15 sprites of mode 2): $differ pixels differ"

# Sprite mode 1 on the MSX1 in its own colours: CELLS.SC2 with its sprite tables (attributes
# 1B00h, patterns 3800h): five sprites on one line (the fifth not shown), one wrapping at
# Y 250, one with the early clock, the list ended at Y 208 before one more; against the
# exporter's --colours msx1.
sprites="$work/SPRITES.SC2"
printf '\376\000\000\377\077\000\000' >"$sprites"
tail -c +8 "$src/samples/CELLS.SC2" | head -c $((0x3800)) >>"$sprites"
head -c $((0x800)) /dev/zero >>"$sprites"
poke $((0x3800)) 255 255 255 255 255 255 255 255 24 60 126 255 255 126 60 24 170 85 170 85 170 85 170 85
poke $((0x1B00)) 19 10 1 2
n=1
while [ "$n" -le 5 ]; do
    poke $((0x1B00 + 4 * n)) 59 $((24 * n)) 0 $((n + 2))
    n=$((n + 1))
done
poke $((0x1B18)) 250 100 2 15 99 40 1 $((0x80 | 9)) 208 0 0 15 120 120 0 15
tail -c +8 "$sprites" >"$work/vram.bin"
cat >"$work/shot.tcl" <<EOT
set f [open "$work/vram.bin" rb]
set data [read \$f]
close \$f
set gamma 1.0
set brightness 0
set contrast 0
set noise 0
set scanline 0
set blur 0
set glow 0
after time 4 {
    debug write_block VRAM 0 \$data
    vdpreg 0 0x02
    vdpreg 1 0xC0
    vdpreg 2 0x06
    vdpreg 3 0xFF
    vdpreg 4 0x03
    vdpreg 5 0x36
    vdpreg 6 0x07
    vdpreg 7 0
    after time 0.2 {
        screenshot -raw -doublesize "$work/shot.png"
        exit
    }
}
EOT
QT_QPA_PLATFORM=offscreen timeout 120 xvfb-run -a openmsx -machine C-BIOS_MSX1 -script "$work/shot.tcl" \
    >"$work/openmsx.log" 2>&1 || { cat "$work/openmsx.log" >&2; exit 1; }
convert "$work/shot.png" -crop 512x384+64+48 +repage -sample 256x192! "$work/theirs.png"
"$exporter" --quiet --colours msx1 --sprites on -o "$work/ours.png" "$sprites"
differ=$(compare -metric AE "$work/ours.png" "$work/theirs.png" null: 2>&1 || true)
# openMSX has its own TMS9918 colours: the pictures agree where each of ours is always one of
# its, so the pairs of colours, pixel by pixel, are as many as our colours.
convert "$work/ours.png" txt:- | tail -n +2 | awk '{print $3}' >"$work/ours.txt"
convert "$work/theirs.png" txt:- | tail -n +2 | awk '{print $3}' >"$work/theirs.txt"
colours=$(sort -u "$work/ours.txt" | wc -l)
pairs=$(paste -d' ' "$work/ours.txt" "$work/theirs.txt" | sort -u | wc -l)
echo "C-BIOS_MSX1 SPRITES.SC2 (screen 2, 10 sprites of mode 1, TMS9918 colours): $differ pixels" \
    "differ in colour; $pairs pairs of colours for our $colours (equal: the same picture)"

# The text screens and screen 1 on the MSX2, each with its own font, in the known palette:
# FILE's VRAM written from address 0, the registers set as SCREEN n leaves them (the text
# modes' R#7 F4h, white on dark blue; screen 1's R#7 0, so that its colour 0 is the
# palette's as ours is), 192 lines; the exporter's picture of the same file.
text_picture() { # FILE OUT WIDE REGISTER-WRITES
    tail -c +8 "$1" >"$work/vram.bin"
    script_start >"$work/shot.tcl"
    cat >>"$work/shot.tcl" <<EOT
after time 4 {
    debug write_block "physical VRAM" 0 \$data
    $4
    vdpreg 8 0x08
    vdpreg 9 0
    vdpreg 18 0
    vdpreg 23 0
    vdpreg 16 0
    binary scan \$pal c* bytes
    foreach b \$bytes { debug write ioports 0x9A [expr {\$b & 0xFF}] }
    after time 0.2 {
        screenshot -raw -doublesize "$work/shot.png"
        exit
    }
}
EOT
    QT_QPA_PLATFORM=offscreen timeout 120 xvfb-run -a openmsx -machine C-BIOS_MSX2 \
        -script "$work/shot.tcl" >"$work/openmsx.log" 2>&1 || { cat "$work/openmsx.log" >&2; return 1; }
    convert "$work/shot.png" -crop 512x384+64+48 +repage "$2"
    [ "$3" = wide ] || convert "$2" -sample 256x192! "$2"
}

"$build/tessarin-samples" "$work"
for sample in "TEXT40.SC0:0:plain:vdpreg 0 0; vdpreg 1 0x50; vdpreg 2 0; vdpreg 4 1; vdpreg 7 0xF4" \
    "TEXT80.SC0:0w80:wide:vdpreg 0 4; vdpreg 1 0x50; vdpreg 2 3; vdpreg 3 0x27; vdpreg 10 0; vdpreg 4 2; vdpreg 13 0; vdpreg 7 0xF4" \
    "CHARS.SC1:1:plain:vdpreg 0 0; vdpreg 1 0x40; vdpreg 2 6; vdpreg 3 0x80; vdpreg 10 0; vdpreg 4 0; vdpreg 5 0x36; vdpreg 11 0; vdpreg 6 7; vdpreg 7 0"; do
    file=${sample%%:*}
    rest=${sample#*:}
    mode=${rest%%:*}
    rest=${rest#*:}
    wide=${rest%%:*}
    text_picture "$work/$file" "$work/theirs.png" "$wide" "${rest#*:}"
    size=256x212
    [ "$wide" = wide ] && size=512x424mag
    "$exporter" --quiet --colours msx2 --size "$size" --screen "$mode" --sprites on \
        --palette "$palette" --palette-source file -o "$work/ours.png" "$work/$file"
    differ=$(compare -metric AE "$work/ours.png" "$work/theirs.png" null: 2>&1 || true)
    echo "C-BIOS_MSX2 $file (screen $mode): $differ pixels differ"
done
