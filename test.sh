#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once as built for users, once
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh test
jobs="$(nproc)"
# Window and dialog tests need no display.
export QT_QPA_PLATFORM=offscreen

echo "== build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARIN_WERROR=ON >/dev/null
cmake --build build -j "$jobs"

echo "== build with AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARIN_BENCH=OFF -DTESSARIN_WERROR=ON \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build build-asan -j "$jobs"

echo "== tests under sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzzing"
scripts/fuzz.sh short

echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"
