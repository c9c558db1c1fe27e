#!/usr/bin/env bash
# Installs what is missing, builds, and opens the viewer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [[ ! -x build/tessarin ]]; then
    echo "run.sh: the viewer is not built yet; build/ holds what there is." >&2
    exit 1
fi
exec build/tessarin "$@"
