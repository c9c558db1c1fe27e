#!/bin/sh
# The viewer as a user sees it, in an X server of its own (Xvfb, 1600x1000, no window
# manager):
#  - start: from the command's start until its window is mapped with the picture's title,
#    the median of RUNS starts, beside feh opening the PNG of the same picture measured the
#    same way;
#  - Page Down: the window full screen (F11), STEPS presses sent at once, from the first
#    until the title names the file STEPS on, divided by STEPS; folders of 200 and 100,000
#    files (hard links of the samples, screens 5, 7, 8 and 12 in turn).
# Usage: bench/viewer_speed.sh [BUILD_DIR] [RUNS] [STEPS] (default build, 10, 50).
# Needs xvfb-run, xdotool and feh: scripts/deps.sh bench.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
runs=${2:-10}
steps=${3:-50}

if [ -z "${TESSARIN_IN_XVFB:-}" ]; then
    TESSARIN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$build" "$runs" "$steps"
fi

viewer="$build/tessarin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
export QT_QPA_PLATFORM=xcb
# Each run starts without the last run's window place and zoom.
export XDG_CONFIG_HOME="$work/config"

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# ms from the start of COMMAND... until a visible window titled exactly TITLE is mapped.
start_ms() {
    title=$1
    shift
    begin=$(now)
    "$@" >/dev/null 2>"$work/program.log" &
    pid=$!
    # Polled every 2 ms: xdotool's own --sync looks only every half second.
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null; do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "$1 ended before its window showed:" >&2
            cat "$work/program.log" >&2
            exit 1
        fi
        sleep 0.002
    done
    end=$(now)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo $(((end - begin) / 1000000))
}

cp "$src/samples/BARS7.SC7" "$work/PIC.SC7"
"$build/tessarin-export" --quiet -o "$work/PIC.png" "$work/PIC.SC7"
: >"$work/tessarin.ms"
: >"$work/feh.ms"
i=0
while [ "$i" -lt "$runs" ]; do
    start_ms "Tessarin - $work/PIC.SC7" "$viewer" "$work/PIC.SC7" >>"$work/tessarin.ms"
    start_ms "feh-picture" feh --title feh-picture "$work/PIC.png" >>"$work/feh.ms"
    i=$((i + 1))
done
echo "start to the picture's window, median of $runs: tessarin $(median <"$work/tessarin.ms") ms," \
    "feh $(median <"$work/feh.ms") ms"

for files in 200 100000; do
    folder="$work/folder$files"
    mkdir "$folder"
    set -- "$src/samples/BARS.SC5" "$src/samples/BARS7.SC7" "$src/samples/RGB.SC8" \
        "$src/samples/YJK.SCC"
    for s in "$@"; do cp "$s" "$work/"; done
    i=0
    while [ "$i" -lt "$files" ]; do
        case $((i % 4)) in
        0) s=BARS.SC5 ;; 1) s=BARS7.SC7 ;; 2) s=RGB.SC8 ;; *) s=YJK.SCC ;;
        esac
        ln "$work/$s" "$folder/$(printf 'P%06d' "$i").${s##*.}"
        i=$((i + 1))
    done
    "$viewer" "$folder/P000000.SC5" >/dev/null 2>&1 &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name "^Tessarin - ")
    xdotool windowfocus --sync "$window" key F11
    sleep 1
    target=$(ls "$folder" | sed -n "$((steps + 1))p")
    begin=$(now)
    xdotool key --delay 0 --repeat "$steps" Next
    while [ "$(xdotool getwindowname "$window")" != "Tessarin - $folder/$target" ]; do
        sleep 0.002
    done
    end=$(now)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "Page Down full screen, $files files: $(((end - begin) / 1000 / steps)) µs a step" \
        "($steps steps)"
    rm -rf "$folder"
done
