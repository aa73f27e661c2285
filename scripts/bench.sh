#!/bin/sh
# Runs every benchmark program.
set -eu
BUILD=${1:-build}
export QT_QPA_PLATFORM=offscreen
for b in "$BUILD"/bench/bench_*; do
    if [ ! -f "$b" ] || [ ! -x "$b" ]; then continue; fi
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.2
done
