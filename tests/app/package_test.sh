#!/usr/bin/env bash
# Makes the Debian package of a built tree into a scratch directory and lets lintian judge
# it, and appstreamcli its AppStream metadata beside its desktop entry: any error fails.
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
deb="$scratch/tessarin_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || { echo "error: no $deb; made: $(ls "$scratch")" >&2; exit 1; }
lintian --fail-on error "$deb"
dpkg-deb -x "$deb" "$scratch/root"
appstreamcli validate-tree --no-net "$scratch/root"
