#!/bin/sh
# Renders the README's pictures under a private Xvfb display and writes them
# as PNG files into docs/. Usage: readme_pictures.sh BUILD_DIR
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/tools/xvfb.sh"
start_xvfb_with_scratch_folder

mkdir -p "$root/docs"
for scene in title_menu chase_view close_view_sight close_view_lock explosion demo_banner; do
    render_or_fail "$build/readme_pictures" "$scene" "$work/$scene.bmp"
    python3 "$root/tools/bmp_to_png.py" "$work/$scene.bmp" "$root/docs/$scene.png"
done
ls -l "$root"/docs/*.png
