#!/bin/sh
# Starts Drillpad. Without a display (no DISPLAY, no WAYLAND_DISPLAY) it runs
# on a virtual X display, saves a screenshot of the main window and exits.
set -eu
BUILD=${1:-build}
APP="$BUILD/drillpad"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$APP"
fi

SHOT="$BUILD/drillpad-main.png"
DISPLAY_NUM=:97
Xvfb "$DISPLAY_NUM" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
APP_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

export DISPLAY="$DISPLAY_NUM"
# Wait for the X server to accept clients.
i=0
until xdpyinfo >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -gt 50 ] && { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done

QT_QPA_PLATFORM=xcb "$APP" &
APP_PID=$!

# Wait for the main window to be mapped, then give it a moment to paint.
# Without a window manager there is no frame: the window's own geometry,
# as xwininfo lists it ("WxH+X+Y"), is what the screenshot keeps.
i=0
GEOMETRY=""
while [ -z "$GEOMETRY" ]; do
    i=$((i + 1))
    [ "$i" -gt 100 ] && { echo "Drillpad did not open its window" >&2; exit 1; }
    sleep 0.1
    GEOMETRY=$(xwininfo -root -tree 2>/dev/null |
        awk '/"Drillpad"/ { for (f = 1; f <= NF; f++) if ($f ~ /^[0-9]+x[0-9]+\+/) {
                 split($f, g, /[x+]/); if (g[1] > 100 && g[2] > 100) { print $f; exit } } }')
done
sleep 1
import -window root -crop "$GEOMETRY" +repage "$SHOT"
echo "No display found: Drillpad ran on a virtual display; screenshot saved as $SHOT"
