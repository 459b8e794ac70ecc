#!/bin/sh
# Installs the Debian packages that building, playing and testing the game
# need. Idempotent: asks apt only for what is missing, and runs
# "apt-get update" only when something is. libx11-dev serves the game's own
# window calls (full screen through the window manager, a lost display),
# libxfixes-dev the tests' look at the pointer over the game, and openbox
# the window manager they ask for full screen;
# x11-utils brings xmessage, which shows the game's start-up error messages
# under X11; x11-apps brings xwd, with which the whole-game tests capture the
# screen; clang and its runtime libraries build the fuzz targets with
# libFuzzer; dpkg-dev brings dpkg-shlibdeps, with which the package's
# dependencies are computed, and lintian, desktop-file-utils, appstream and
# man-db are the checkers the package and its files must pass; python3 writes
# the icons as PNG files and compares them with new renderings; libpng writes
# the game's screenshots.
#
# "install_deps.sh plot" also installs gnuplot, which only "make timedemo"
# needs to draw its plot.
set -eu

PACKAGES="build-essential cmake pkg-config liballegro4-dev liballeggl4-dev \
libx11-dev libxfixes-dev libglu1-mesa-dev libpng-dev libgl1-mesa-dri xvfb xdotool openbox libgtest-dev libbenchmark-dev \
x11-utils x11-apps clang libclang-rt-14-dev \
dpkg-dev lintian desktop-file-utils appstream man-db python3"
if [ "${1:-}" = plot ]; then
    PACKAGES="$PACKAGES gnuplot-nox"
fi

missing=""
for package in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $package" ;;
    esac
done

if [ -z "$missing" ]; then
    exit 0
fi

echo "Installing missing packages:$missing"
if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
else
    SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
# shellcheck disable=SC2086
$SUDO apt-get install -y --no-install-recommends $missing
