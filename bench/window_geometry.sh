#!/usr/bin/env bash
# Prints the table of docs/viewer.md of the viewer's window at every zoom on a 1600x1000 and a
# 1024x768 screen (Xvfb, no window manager, so no frame), with the settings of a first run.
#   bench/window_geometry.sh [BUILD_DIR]    (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
program="$build/bench/tessarin-window-geometry"
[[ -x $program ]] || cmake --build "$build" --target tessarin-window-geometry >/dev/null
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
for screen in 1600x1000 1024x768; do
    XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s "-screen 0 ${screen}x24" "$program"
done
