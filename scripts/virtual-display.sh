# shellcheck shell=sh
# Running Drillpad on a virtual X display; sourced by the scripts that need
# it (make run without a display, the screenshots, the package check).

# Starts Xvfb on a display it picks itself, exports DISPLAY and sets
# XVFB_PID (the caller stops it). $1: a private scratch folder, which also
# serves as the runtime folder Qt wants when none is set.
start_virtual_display() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$1/display" >/dev/null 2>&1 &
    # shellcheck disable=SC2034 # the caller stops it
    XVFB_PID=$!
    _tries=0
    until [ -s "$1/display" ] && xdpyinfo -display ":$(cat "$1/display")" >/dev/null 2>&1; do
        _tries=$((_tries + 1))
        if [ "$_tries" -gt 100 ]; then
            echo "Xvfb did not start" >&2
            return 1
        fi
        sleep 0.1
    done
    DISPLAY=":$(cat "$1/display")"
    XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$1}
    export DISPLAY XDG_RUNTIME_DIR
}

# Waits until Drillpad (process $1) shows its main window, and prints the
# window's geometry as xwininfo gives it (WxH+X+Y). Without a window manager
# there is no frame, so that is the window's own area. Fails if the program
# ends first or nothing shows within 30 s.
wait_for_main_window() {
    _tries=0
    while :; do
        _geometry=$(xwininfo -root -tree 2>/dev/null |
            awk '/"Drillpad"/ { for (f = 1; f <= NF; f++) if ($f ~ /^[0-9]+x[0-9]+\+/) {
                     split($f, g, /[x+]/); if (g[1] > 100 && g[2] > 100) { print $f; exit } } }')
        if [ -n "$_geometry" ]; then
            echo "$_geometry"
            return 0
        fi
        _tries=$((_tries + 1))
        if [ "$_tries" -gt 300 ] || ! kill -0 "$1" 2>/dev/null; then
            return 1
        fi
        sleep 0.1
    done
}

# Ends the program (APP_PID, if set) and the display, and removes the
# scratch folder $1; for the caller's exit trap.
stop_virtual_display() {
    if [ -n "${APP_PID:-}" ]; then kill "$APP_PID" 2>/dev/null || true; fi
    if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$1"
}
