#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each on a scratch copy of its seed
# corpus; any crash, sanitizer report, leak, time-out or out-of-memory fails the run.
#
#   scripts/fuzz.sh short            about 30 s per target (part of ./test.sh)
#   scripts/fuzz.sh long [SECONDS [TARGET]]   SECONDS per target (default 3600), or
#                                            only TARGET (one of all_targets below)
#
# Findings are kept as crash-*/leak-*/timeout-* files in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-short}
case "$mode" in
short) seconds=30 ;;
long) seconds=${2:-3600} targets=${3:-} ;;
*)
    echo "usage: $0 short | long [SECONDS [TARGET]]" >&2
    exit 2
    ;;
esac
all_targets=(document layout export_options disk_image output_names zx0 zx7 aplib archive image_input font cassette catalogue_table dmk)
if [[ -n ${targets:-} && " ${all_targets[*]} " != *" $targets "* ]]; then
    echo "$0: unknown target '$targets' (${all_targets[*]})" >&2
    exit 2
fi

build=build-fuzz
# The libraries under test carry coverage and sanitizer checks too; without them the fuzzer
# would see only the harness and miss faults inside the loader and the writer.
instrument="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$instrument" \
    -DTESSARIN_FUZZ=ON -DTESSARIN_GUI=OFF -DTESSARIN_TESTS=OFF -DTESSARIN_BENCH=OFF \
    -DTESSARIN_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${all_targets[@]/#/fuzz_}"

findings="$PWD/$build/findings"
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

status=0
for target in ${targets:-${all_targets[*]}}; do
    corpus_name=${target%_options}
    [[ $target == export_options ]] && corpus_name=options
    # A disk image's FAT and directories lie kilobytes in; the default 4 KB would cut them.
    max_len=()
    [[ $target == disk_image || $target == archive || $target == dmk ]] && max_len=(-max_len=65536)
    work="$scratch/$target"
    cp -r "fuzz/corpus/$corpus_name" "$work"
    echo "== fuzz_$target for ${seconds}s"
    if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "${max_len[@]}" -artifact_prefix="$findings/${target}-" "$work" \
        >"$scratch/$target.log" 2>&1; then
        status=1
        tail -n 60 "$scratch/$target.log"
        echo "fuzz_$target: FINDING (see $findings)" >&2
    fi
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
        "$scratch/$target.log" || true
    grep -E '^#[0-9]+ +DONE' "$scratch/$target.log" || true
done
exit "$status"
