#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when some are missing.
#   scripts/deps.sh build      what ./run.sh needs
#   scripts/deps.sh test       what ./test.sh needs (build + sanitizers + fuzzing + package,
#                              MIME, AppStream, manual page and completion checks, and the
#                              archivers the archive tests make their archives with)
#   scripts/deps.sh package    what `cpack -G DEB` needs (build + dpkg-dev, file)
#   scripts/deps.sh screenshot what scripts/screenshot.sh needs (build + Xvfb, xwd, xwininfo, convert, xdotool)
#   scripts/deps.sh bench      what bench/viewer_speed.sh and scripts/compare_openmsx.sh need
#                              (build + Xvfb, xdotool, feh, openMSX with C-BIOS, ImageMagick)
set -euo pipefail

build_packages=(cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev libpng-dev libjpeg62-turbo-dev
                qt6-base-dev libgl-dev fonts-dejavu-core libarchive-dev zlib1g-dev libexif-dev cbios)
test_packages=(clang mtools libclang-rt-14-dev xvfb xauth x11-apps xclip imagemagick groff-base
               dpkg-dev file lintian shared-mime-info libglib2.0-bin appstream bash-completion
               zip p7zip-full jlha-utils chromium chromium-driver)
package_packages=(dpkg-dev file)
screenshot_packages=(xvfb x11-apps x11-utils imagemagick xdotool)
bench_packages=(xvfb xauth xdotool feh openmsx cbios imagemagick)

case "${1:-build}" in
build) wanted=("${build_packages[@]}") ;;
test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
package) wanted=("${build_packages[@]}" "${package_packages[@]}") ;;
screenshot) wanted=("${build_packages[@]}" "${screenshot_packages[@]}") ;;
bench) wanted=("${build_packages[@]}" "${bench_packages[@]}") ;;
*) echo "usage: $0 build|test|package|screenshot|bench" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
    if [[ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]]; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ "$(id -u)" -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "error: need root or sudo to install ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
