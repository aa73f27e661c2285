#!/bin/sh
# Installs the Debian 12 packages that building, testing, packaging,
# benchmarking and screenshots need. Idempotent: packages already present are
# skipped, and apt-get is not touched at all when nothing is missing.
set -eu

PACKAGES="
build-essential
cmake
ninja-build
qt6-base-dev
qt6-base-dev-tools
qt6-svg-dev
libqt6svg6
qt6-qpa-plugins
libgl-dev
fonts-noto-cjk
fonts-arphic-ukai
qt6-translations-l10n
qt6-charts-dev
libqt6opengl6-dev
libqt6sql6-sqlite
at-spi2-core
dbus-x11
python3-pyatspi
libbenchmark-dev
libxcb1-dev
pkg-config
clang
libclang-rt-14-dev
xvfb
xauth
x11-apps
x11-utils
imagemagick
poppler-utils
pandoc
appstream
desktop-file-utils
dpkg-dev
file
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages:$missing" >&2
    echo "Run as root (or with sudo) to install them." >&2
    exit 1
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing
