#!/bin/sh
# Builds the Debian package and checks it as a family's computer would see
# it: what it installs, what it depends on, that the desktop entry and the
# AppStream metadata pass their validators, and that the unpacked program
# starts on a virtual display and shows its main window.
#   check_package.sh BUILD_DIR APP_ID VERSION
set -eu
# shellcheck source=SCRIPTDIR/../../scripts/virtual-display.sh
. "$(dirname "$0")/../../scripts/virtual-display.sh"
BUILD=$1
APP_ID=$2
VERSION=$3

SCRATCH=$(mktemp -d)
trap 'stop_virtual_display "$SCRATCH"' EXIT
trap 'exit 1' INT TERM

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# --- Build the package (into the scratch folder, not the build tree). ---
(cd "$BUILD" && cpack -G DEB -B "$SCRATCH/out" >"$SCRATCH/cpack.log" 2>&1) ||
    { cat "$SCRATCH/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
DEB="$SCRATCH/out/drillpad_${VERSION}_$(dpkg --print-architecture).deb"
[ -f "$DEB" ] || { echo "FAIL: no package $DEB" >&2; exit 1; }

# --- What it installs. ---
dpkg-deb --contents "$DEB" | awk '{ print $6 }' >"$SCRATCH/contents"
expected="./usr/bin/drillpad
./usr/bin/drillpad-$VERSION
./usr/share/drillpad/help.rtf
./usr/share/applications/$APP_ID.desktop
./usr/share/metainfo/$APP_ID.metainfo.xml
./usr/share/doc/drillpad/copyright
./usr/share/icons/hicolor/scalable/apps/$APP_ID.svg"
for size in 16 22 24 32 48 64 128 256; do
    expected="$expected
./usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"
done
echo "$expected" | while read -r path; do
    grep -qxF "$path" "$SCRATCH/contents" || { echo "FAIL: package lacks $path" >&2; exit 1; }
done || failures=$((failures + 1))
# Only the program and its data: no tests, benchmarks or build tools.
extra=$(grep -v '/$' "$SCRATCH/contents" |
    grep -v '^\./usr/\(bin/drillpad\|share/\(drillpad\|applications\|metainfo\|icons\|doc/drillpad\)/\)' || true)
[ -z "$extra" ] || fail "package holds more than the program and its data: $extra"

# --- What it depends on: the libraries it links, the plugins it loads at
# run time (checked below; the SQLite driver only once a quiz starts, so it is
# named here), and the Chinese fonts. Every dependency must be
# satisfied by what this machine has installed. ---
DEPENDS=$(dpkg-deb --field "$DEB" Depends)
echo "Depends: $DEPENDS"
for name in fonts-noto-cjk libqt6widgets6 libqt6printsupport6 libqt6svg6 libqt6sql6-sqlite; do
    echo ", $DEPENDS," | grep -q ", ${name}[ ,]" || fail "Depends lacks $name"
done
echo "$DEPENDS" | tr ',' '\n' | sed 's/^ *//' | while read -r name op version; do
    installed=$(dpkg-query -W -f '${Version}' "$name" 2>/dev/null) ||
        { echo "FAIL: dependency $name is not a package on this machine" >&2; exit 1; }
    if [ -n "$op" ]; then
        op=${op#(}
        version=${version%)}
        dpkg --compare-versions "$installed" "$(echo "$op" | sed 's/>=/ge/;s/<=/le/;s/>>/gt/;s/<</lt/;s/^=$/eq/')" "$version" ||
            { echo "FAIL: dependency $name ($op $version) not met by $installed" >&2; exit 1; }
    fi
done || failures=$((failures + 1))

# --- Unpack into a scratch root; validate the installed metadata. ---
ROOT="$SCRATCH/root"
dpkg-deb -x "$DEB" "$ROOT"
out=$(desktop-file-validate "$ROOT/usr/share/applications/$APP_ID.desktop" 2>&1) || true
[ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net --pedantic --explain \
        "$ROOT/usr/share/metainfo/$APP_ID.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $out"
if echo "$out" | grep -q '^[EWIP]:'; then
    fail "appstreamcli validate reports issues: $out"
fi

# The copyright notice in Debian's machine-readable format, naming the GPL.
COPYRIGHT="$ROOT/usr/share/doc/drillpad/copyright"
head -n 1 "$COPYRIGHT" | grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not in the machine-readable format"
grep -qx 'License: GPL-3+' "$COPYRIGHT" || fail "copyright does not name the GPL 3 or later"

# --- Start the unpacked program on a virtual display. ---
start_virtual_display "$SCRATCH"
QT_QPA_PLATFORM=xcb "$ROOT/usr/bin/drillpad" >"$SCRATCH/app.log" 2>&1 &
APP_PID=$!
if ! wait_for_main_window "$APP_PID" >/dev/null; then
    cat "$SCRATCH/app.log" >&2
    echo "FAIL: the installed program did not show its main window" >&2
    exit 1
fi
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "the installed program ended after showing its window"

# The Qt plugins it loaded (platform, pictures, icons) come from packages
# that the linker cannot see; each must be a dependency of its own.
grep -o '/[^ ]*/qt6/plugins/[^ ]*\.so' "/proc/$APP_PID/maps" | sort -u >"$SCRATCH/plugins"
grep -q 'libqsvg' "$SCRATCH/plugins" || fail "the SVG plugin was not loaded"
while read -r plugin; do
    package=$(dpkg -S "$plugin" 2>/dev/null | head -n 1 | cut -d: -f1)
    [ -n "$package" ] || { fail "no package owns $plugin"; continue; }
    echo ", $DEPENDS," | grep -q ", ${package}[ ,]" || fail "plugin $plugin: Depends lacks $package"
done <"$SCRATCH/plugins"

echo "package $(basename "$DEB"): $(stat -c %s "$DEB") bytes," \
     "installed size $(dpkg-deb --field "$DEB" Installed-Size) KiB"
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "package checks passed"
