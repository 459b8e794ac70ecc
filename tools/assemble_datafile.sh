#!/bin/sh
# Assembles the given BMP files into an Allegro datafile, in the order given.
# dat asks questions on standard input when the output exists or a grab is
# ambiguous; with no standard input it would spin, so the output is removed
# first and standard input is closed. -s1 drops the grabber's own info object,
# so the file holds exactly the four bitmaps. dat's account of its work is
# shown only when it fails.
set -eu
dat_tool=$1
output=$2
shift 2
rm -f "$output"
if ! log=$("$dat_tool" -a -n0 -s1 -bpp 24 -t BMP "$output" "$@" </dev/null 2>&1) || [ ! -s "$output" ]; then
    printf '%s\n' "$log" >&2
    echo "assemble_datafile: could not write $output" >&2
    exit 1
fi
