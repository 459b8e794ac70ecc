#!/bin/sh
# Renders the README's pictures under private Xvfb displays and writes them
# as PNG files into docs/: the game's own pictures on an 800 x 600 screen,
# and the full-screen one on a 1920 x 1080 screen. Usage: readme_pictures.sh BUILD_DIR
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)

. "$root/tools/xvfb.sh"
start_xvfb_with_scratch_folder

render() {
    render_or_fail "$build/readme_pictures" "$1" "$work/$1.bmp"
    python3 "$root/tools/bmp_to_png.py" "$work/$1.bmp" "$root/docs/$1.png"
}

mkdir -p "$root/docs"
for scene in title_menu options_screen chase_view close_view_sight close_view_lock explosion demo_banner; do
    render "$scene"
done
stop_xvfb
start_xvfb 1920x1080
render full_screen
ls -l "$root"/docs/*.png
