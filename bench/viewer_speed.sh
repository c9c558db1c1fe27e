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

# ms from the start of COMMAND... until a visible window titled exactly TITLE is mapped;
# a start that lost its X connection (the polling can crowd the server) is tried again.
start_ms() {
    title=$1
    shift
    for attempt in 1 2 3; do
        begin=$(now)
        "$@" >/dev/null 2>"$work/program.log" &
        pid=$!
        # Polled every 5 ms: xdotool's own --sync looks only every half second.
        until xdotool search --onlyvisible --name "^$title\$" >/dev/null; do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.005
        done
        end=$(now)
        if kill "$pid" 2>/dev/null; then
            wait "$pid" 2>/dev/null || true
            echo $(((end - begin) / 1000000))
            return
        fi
        echo "$1 ended before its window showed (attempt $attempt):" >&2
        cat "$work/program.log" >&2
    done
    exit 1
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

# The samples copied once beside the folders: links cannot cross file systems.
set -- BARS.SC5 BARS7.SC7 RGB.SC8 YJK.SCC
for s in "$@"; do cp "$src/samples/$s" "$work/"; done
for files in 200 100000; do
    folder="$work/folder$files"
    mkdir "$folder"
    i=0
    while [ "$i" -lt "$files" ]; do
        eval "s=\${$((i % $# + 1))}"
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
        sleep 0.005
    done
    end=$(now)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "Page Down full screen, $files files: $(((end - begin) / 1000 / steps)) µs a step" \
        "($steps steps)"
    rm -rf "$folder"
done
