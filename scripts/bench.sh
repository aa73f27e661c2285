#!/bin/sh
# Runs every benchmark program. The RTF benchmark runs on a virtual X display,
# where it also opens files in the main window and measures the longest time
# the window takes to answer an X ping meanwhile; without Xvfb those rows are
# skipped.
set -eu
BUILD=${1:-build}
export QT_QPA_PLATFORM=offscreen

# shellcheck source=SCRIPTDIR/virtual-display.sh
. "$(dirname "$0")/virtual-display.sh"
WORK=$(mktemp -d)
trap 'stop_virtual_display "$WORK"' EXIT
trap 'exit 1' INT TERM

for b in "$BUILD"/bench/bench_*; do
    if [ ! -f "$b" ] || [ ! -x "$b" ]; then continue; fi
    echo "== $(basename "$b")"
    if [ "$(basename "$b")" = bench_rtf ] && command -v Xvfb >/dev/null 2>&1; then
        [ -n "${XVFB_PID:-}" ] || start_virtual_display "$WORK"
        QT_QPA_PLATFORM=xcb "$b" --benchmark_min_time=0.2
    else
        "$b" --benchmark_min_time=0.2
    fi
done
