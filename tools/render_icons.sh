#!/bin/sh
# Renders the game's icons (the player's machine, close up) under a private
# Xvfb display and writes them as PNG files into packaging/icons/, where the
# install rules take them from. Usage: render_icons.sh BUILD_DIR
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/tools/xvfb.sh"
start_xvfb_with_scratch_folder

mkdir -p "$root/packaging/icons"
for size in 48 128 256; do
    render_or_fail "$build/icon_picture" "$size" "$work/icon.bmp"
    python3 "$root/tools/bmp_to_png.py" "$work/icon.bmp" "$root/packaging/icons/ironstep-$size.png"
done
ls -l "$root"/packaging/icons/*.png
