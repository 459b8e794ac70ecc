#!/bin/sh
# Renders the README's pictures under a private Xvfb display and writes them
# as PNG files into docs/. Usage: readme_pictures.sh BUILD_DIR
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)

. "$root/tools/xvfb.sh"
start_xvfb
trap 'stop_xvfb; rm -rf "$work"' EXIT INT TERM

mkdir -p "$root/docs"
for scene in title_menu chase_view close_view_sight close_view_lock explosion demo_banner; do
    if ! "$build/readme_pictures" "$scene" "$work/$scene.bmp" >"$work/log" 2>&1; then
        cat "$work/log" >&2
        exit 1
    fi
    tail -n 1 "$work/log"
    python3 "$root/tools/bmp_to_png.py" "$work/$scene.bmp" "$root/docs/$scene.png"
done
ls -l "$root"/docs/*.png
