#!/bin/sh
# Builds the libFuzzer targets with clang under ASan and UBSan and runs each
# one for a bounded time. Any crash, leak of bounds or hang fails.
set -eu
BUILD=${1:-build-fuzz}
SECONDS_PER_TARGET=${FUZZ_SECONDS:-60}

if [ ! -d fuzz ] || [ -z "$(ls fuzz/*.cpp 2>/dev/null)" ]; then
    echo "No fuzz targets."
    exit 0
fi

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DDRILLPAD_FUZZ=ON -DDRILLPAD_BENCH=OFF
cmake --build "$BUILD" -j "$(nproc)" --target fuzz_targets

for target in "$BUILD"/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="fuzz/corpus/${name#fuzz_}"
    work="$BUILD/fuzz-work/$name"
    mkdir -p "$work"
    echo "== $name for ${SECONDS_PER_TARGET}s"
    QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp" "$target" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -artifact_prefix="$work/" \
        -rss_limit_mb=2048 -print_final_stats=1 "$work" "$corpus"
done
