#!/bin/sh
# The viewer as a user sees it, in an X server of its own (Xvfb, 1600x1000, no window
# manager):
#  - start: from the command's start until its window is mapped with the picture's title,
#    the median of RUNS starts, beside feh opening the PNG of the same picture measured the
#    same way;
#  - Page Down: the window full screen (F11), STEPS presses sent at once, from the first
#    until the title names the file STEPS on, divided by STEPS; folders of 200 and 100,000
#    files (hard links of the samples, screens 5, 7, 8 and 12 in turn), and 2,000 of them in
#    a folder, a .zip and a solid .7z, the median of 5 runs each.
# Usage: bench/viewer_speed.sh [BUILD_DIR] [RUNS] [STEPS] (default build, 10, 50).
# Needs xvfb-run, xdotool, feh, zip and 7z: scripts/deps.sh bench.
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
# make_folder FOLDER COUNT SAMPLE...: COUNT links to the samples in turn, P000000.SC5 upwards.
make_folder() {
    dir=$1
    count=$2
    shift 2
    mkdir "$dir"
    i=0
    while [ "$i" -lt "$count" ]; do
        eval "s=\${$((i % $# + 1))}"
        ln "$work/$s" "$dir/$(printf 'P%06d' "$i").${s##*.}"
        i=$((i + 1))
    done
}

# page_down_us PLACE FOLDER: µs a step of Page Down full screen from PLACE/P000000.SC5, a
# folder or an archive of the files of FOLDER.
page_down_us() {
    "$viewer" "$1/P000000.SC5" >/dev/null 2>&1 &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name "^Tessarin - ")
    xdotool windowfocus --sync "$window" key F11
    sleep 1
    target=$(ls "$2" | sed -n "$((steps + 1))p")
    begin=$(now)
    xdotool key --delay 0 --repeat "$steps" Next
    while [ "$(xdotool getwindowname "$window")" != "Tessarin - $1/$target" ]; do
        sleep 0.005
    done
    end=$(now)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo $(((end - begin) / 1000 / steps))
}

for files in 200 100000; do
    folder="$work/folder$files"
    make_folder "$folder" "$files" "$@"
    echo "Page Down full screen, $files files: $(page_down_us "$folder" "$folder") µs a step" \
        "($steps steps)"
    rm -rf "$folder"
done

folder="$work/folder2000"
make_folder "$folder" 2000 "$@"
(cd "$folder" && zip -q "$work/A.zip" ./* && 7z a -bd -ms=on "$work/A.7z" ./* >/dev/null)
for place in "$folder" "$work/A.zip" "$work/A.7z"; do
    for run in 1 2 3 4 5; do page_down_us "$place" "$folder"; done >"$work/steps.us"
    echo "Page Down full screen, 2,000 files in ${place##*/}: $(median <"$work/steps.us") µs" \
        "a step (median of 5 runs of $steps steps)"
done
