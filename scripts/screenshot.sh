#!/usr/bin/env bash
# Shows the viewer on a sample under a virtual X server and writes docs/screenshot.png.
#   scripts/screenshot.sh [BUILD_DIR] [FILE...]   (default build, samples/BARS7.SC7)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
files=("$@")
[[ ${#files[@]} -eq 0 ]] && files=(samples/BARS7.SC7)
display=:97
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp &
xvfb=$!
trap 'kill "${viewer:-}" 2>/dev/null; wait "${viewer:-}" 2>/dev/null; kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display "$build/tessarin" "${files[@]}" &
viewer=$!
sleep 2
DISPLAY=$display xwd -root -silent | /usr/bin/convert xwd:- -trim docs/screenshot.png
echo "wrote docs/screenshot.png"
