#!/usr/bin/env bash
# Installs what is missing, builds, and opens the viewer.
#   ./run.sh            opens a bundled sample
#   ./run.sh FILE...    opens the files (the first two, as the viewer does)
# Without a display it exports the pictures to PNG instead and says where.
set -euo pipefail
cd "$(dirname "$0")"
sample=samples/BARS7.SC7
scripts/deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The viewer and the exporter only: the tests and benchmarks are ./test.sh's business.
cmake --build build -j "$(nproc)" --target tessarin tessarin-export
files=("$@")
[[ ${#files[@]} -eq 0 ]] && files=("$sample")

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    # A new directory each time: the exporter never replaces a picture already there.
    out=$(mktemp -d build/run-png.XXXXXX)
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the viewer cannot open."
    echo "run.sh: exporting ${files[*]} to PNG in $out/ instead."
    build/tessarin-export --format png --outdir "$out" "${files[@]}"
    echo "run.sh: the pictures are in $out/"
    exit 0
fi
exec build/tessarin "${files[@]}"
