#!/bin/sh
# Remakes the README's screenshots on a virtual X display: the main window
# with an exercise sheet, the quiz window during a quiz, a message box and the
# save dialog (Qt's own texts in Chinese), and the practice record after a few
# quizzes, the mastery map, and the window 出题设置 with a preset loaded.
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

# shellcheck source=SCRIPTDIR/virtual-display.sh
. "$(dirname "$0")/virtual-display.sh"
WORK=$(mktemp -d)
trap 'stop_virtual_display "$WORK"' EXIT
trap 'exit 1' INT TERM
start_virtual_display "$WORK"

# The C locale with UTF-8 keeps the rate's number format the same whoever
# remakes the pictures.
QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$TOOL" "$OUTDIR"
