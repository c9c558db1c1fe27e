#!/usr/bin/env bash
# Shows the viewer on a sample under a virtual X server and writes the window to a PNG.
#   scripts/screenshot.sh [BUILD_DIR] [FILE...]   (default build, samples/BARS.SC5; paths
#                                                  from the top of the repository)
#   SCREENSHOT_OUT=FILE scripts/screenshot.sh ... writes FILE instead of docs/screenshot.png
#   scripts/screenshot.sh --grid [BUILD_DIR]      the thumbnail grid of samples/, the window
#                                                  made GRID_SIZE (default 900x560) first
# BARS.SC5 carries its palette table in VRAM, so the picture is in its own colours.
#
# The X server picks a free display and says when it is ready (-displayfd); the capture
# waits until the viewer's window is mapped and its contents have stopped changing, and
# takes that window only (xwd -id), so neither the timing nor the root's colour matters.
set -euo pipefail
cd "$(dirname "$0")/.."
grid=
if [[ "${1:-}" == --grid ]]; then
    grid=${GRID_SIZE:-900x560}
    shift
fi
build=${1:-build}
shift || true
files=("$@")
[[ ${#files[@]} -eq 0 ]] && files=(samples/BARS.SC5)
[[ -n "$grid" ]] && files=(samples)
out=${SCREENSHOT_OUT:-docs/screenshot.png}
timeout_s=60

scripts/deps.sh screenshot
[[ -x "$build/tessarin" ]] || {
    echo "screenshot.sh: no $build/tessarin; build it first (cmake --build $build --target tessarin)" >&2
    exit 1
}

work=$(mktemp -d)
xvfb=
viewer=
# Ends a process started here: politely, then for sure. No step may end the clean-up
# early (under set -e a failing kill or wait would), or a forgotten Xvfb keeps running
# and holds the caller's output open, so that a caller reading it waits for ever.
stop() {
    local pid=$1
    [[ -n "$pid" ]] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
cleanup() {
    stop "$viewer"
    stop "$xvfb"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "screenshot.sh: $*" >&2
    [[ -s "$work/viewer.log" ]] && sed 's/^/  viewer: /' "$work/viewer.log" >&2
    exit 1
}
deadline=$((SECONDS + timeout_s))

Xvfb -displayfd 3 -screen 0 "$([[ -n "$grid" ]] && echo 1280x800x24 || echo 800x600x24)" -nolisten tcp 3>"$work/display" >/dev/null 2>"$work/xvfb.log" &
xvfb=$!
# Xvfb writes the number and a newline once it accepts clients.
until [[ -s "$work/display" && "$(tail -c 1 "$work/display" | od -An -tx1)" == *0a* ]]; do
    kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
    ((SECONDS < deadline)) || fail "Xvfb gave no display within ${timeout_s}s"
    sleep 0.1
done
DISPLAY=":$(tr -d '\n' <"$work/display")"
export DISPLAY

"$build/tessarin" "${files[@]}" >"$work/viewer.log" 2>&1 &
viewer=$!

# The viewer's main window is titled "Tessarin - FILE" once a file is open; another
# viewable window of the viewer (class "tessarin") is a message, such as a file that
# cannot be read.
window=
while [[ -z "$window" ]]; do
    kill -0 "$viewer" 2>/dev/null || fail "the viewer ended before its window appeared"
    ((SECONDS < deadline)) || fail "no viewer window within ${timeout_s}s"
    while read -r id title; do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
        [[ "$title" == '"Tessarin - '* ]] || fail "the viewer shows a message ($title), not the picture"
        window=$id
        break
    done < <(xwininfo -root -tree 2>/dev/null |
             awk '/\("tessarin" / { id = $1; sub(/^[^"]*/, ""); sub(/: \(.*/, ""); print id, $0 }')
    [[ -n "$window" ]] || sleep 0.2
done

# No window manager: the window takes the size asked of X directly.
[[ -n "$grid" ]] && xdotool windowsize "$window" "${grid%x*}" "${grid#*x}"

# Mapped is not yet painted: two captures in a row must agree.
previous=
while :; do
    ((SECONDS < deadline)) || fail "the window kept changing for ${timeout_s}s"
    sleep 0.5
    xwd -id "$window" -silent >"$work/window.xwd" || fail "xwd could not capture window $window"
    current=$(md5sum <"$work/window.xwd")
    [[ "$current" == "$previous" ]] && break
    previous=$current
done

# -strip: no time stamps, so the same picture gives the same file.
/usr/bin/convert "xwd:$work/window.xwd" +repage -strip "$work/window.png"
colours=$(/usr/bin/convert "$work/window.png" -format %k info:)
((colours > 2)) || fail "the capture is flat ($colours colours): the window was not painted"
mkdir -p "$(dirname "$out")"
mv "$work/window.png" "$out"
echo "wrote $out ($(/usr/bin/convert "$out" -format '%wx%h' info:), $colours colours)"
