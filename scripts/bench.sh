#!/bin/sh
# Runs every benchmark program.
set -eu
BUILD=${1:-build}
export QT_QPA_PLATFORM=offscreen
for b in "$BUILD"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.2
done
