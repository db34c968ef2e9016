#!/bin/sh
# Builds the libFuzzer targets with clang (address and undefined-behaviour
# sanitizers on) and runs each for a bounded time, starting from its corpus
# in fuzz/corpus; inputs that reach new paths are kept under build-fuzz/, so
# the checkout is left as it was (scripts/update-fuzz-corpus.sh merges them
# into fuzz/corpus on purpose). A crash fails.
#   KESTREL_FUZZ_SECONDS  time per target (default 60)
#   KESTREL_FUZZ_MERGE    1: merge the new inputs into fuzz/corpus
set -e
cd "$(dirname "$0")/.."
seconds="${KESTREL_FUZZ_SECONDS:-60}"
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTREL_BUILD_TESTS=OFF -DKESTREL_BUILD_BENCH=OFF -DKESTREL_BUILD_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
    >/dev/null
cmake --build build-fuzz -j2 --target case_file_fuzz number_fuzz
for target in case_file number; do
    work="build-fuzz/corpus-$target"
    mkdir -p "$work" build-fuzz/artifacts
    echo "Fuzzing $target for $seconds s"
    log="build-fuzz/$target.log"
    if ! ASAN_OPTIONS=detect_leaks=1 "./build-fuzz/fuzz/${target}_fuzz" \
        -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -timeout=20 \
        -print_final_stats=1 -close_fd_mask=2 -artifact_prefix=build-fuzz/artifacts/ "$work" "fuzz/corpus/$target" \
        >"$log" 2>&1; then
        tail -60 "$log"
        echo "The $target fuzzer failed; the input is in build-fuzz/artifacts/"
        exit 1
    fi
    grep -E "^stat::number_of_executed_units|^Done" "$log" || true
    if [ "${KESTREL_FUZZ_MERGE:-0}" = 1 ]; then
        "./build-fuzz/fuzz/${target}_fuzz" -merge=1 -max_len=65536 -timeout=20 \
            "fuzz/corpus/$target" "$work" >"build-fuzz/$target-merge.log" 2>&1
        grep -E "MERGE-OUTER: [0-9]+ new files" "build-fuzz/$target-merge.log" || true
    fi
done
