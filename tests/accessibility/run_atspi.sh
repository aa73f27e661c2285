#!/bin/sh
# Runs atspi_check.py against the program ($1) in a D-Bus session of its own,
# with the accessibility bus it starts, on a virtual X display. Exits 77
# (skipped) where one of these cannot be had.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
SOURCE_DIR=$(cd "$HERE/../.." && pwd)
PROGRAM=$1
SKIP=77

skip() {
    echo "SKIP: $*"
    exit $SKIP
}

# The system's Python carries the AT-SPI bindings; a private one may not.
PYTHON=
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import pyatspi' >/dev/null 2>&1; then
        PYTHON=$candidate
        break
    fi
done
[ -n "$PYTHON" ] || skip "no Python with pyatspi"
command -v dbus-run-session >/dev/null || skip "no dbus-run-session"
if ! command -v Xvfb >/dev/null || ! command -v xdpyinfo >/dev/null; then
    skip "no Xvfb"
fi
[ -x "$PROGRAM" ] || { echo "FAIL: no program at $PROGRAM"; exit 1; }

SCRATCH=$(mktemp -d)
# The program keeps its record and settings in folders of the scratch area,
# never among the user's own.
export XDG_DATA_HOME="$SCRATCH/data" XDG_CONFIG_HOME="$SCRATCH/config"
# shellcheck source=../../scripts/virtual-display.sh
. "$SOURCE_DIR/scripts/virtual-display.sh"
start_virtual_display "$SCRATCH" || skip "the virtual display did not start"
trap 'kill "$XVFB_PID" 2>/dev/null; rm -rf "$SCRATCH"' EXIT INT TERM

dbus-run-session -- "$PYTHON" "$HERE/atspi_check.py" "$PROGRAM"
