#!/bin/sh
# Remakes the README's screenshots on a virtual X display: the main window
# with an exercise sheet, and the quiz window during a quiz.
# Usage: scripts/screenshots.sh [BUILD] [OUTDIR]
# Builds nothing: run it through `make screenshots`, which builds first.
set -eu
BUILD=${1:-build}
OUTDIR=${2:-docs/screenshots}
TOOL="$BUILD/tools/drillpad_screenshots"

if [ ! -x "$TOOL" ]; then
    echo "$TOOL not found: build first (make screenshots does)" >&2
    exit 1
fi

# Xvfb picks a free display itself and writes its number to descriptor 3.
WORK=$(mktemp -d)
DISPLAY_FILE="$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$DISPLAY_FILE" >/dev/null 2>&1 &
XVFB_PID=$!
cleanup() {
    kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Wait for the display number, then for the server to accept clients.
i=0
until [ -s "$DISPLAY_FILE" ] && xdpyinfo -display ":$(cat "$DISPLAY_FILE")" >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -gt 100 ] && { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done

# The C locale with UTF-8 keeps the rate's number format the same whoever
# remakes the pictures.
DISPLAY=":$(cat "$DISPLAY_FILE")" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
    XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$WORK}" "$TOOL" "$OUTDIR"
