#!/bin/sh
# Runs the timedemo on the showcase under a private Xvfb display and draws its
# frame times against the tick, with the average and the 1 % low marked.
# Usage: timedemo.sh BUILD PICTURE.png
set -eu
build=$1
picture=$2
here=$(dirname "$0")
work=$(mktemp -d)

. "$here/xvfb.sh"
start_xvfb
trap 'stop_xvfb; rm -rf "$work"' EXIT INT TERM

"$build/ironstep-timedemo" --csv "$work/frames.csv" > "$work/summary.txt"
stop_xvfb
cat "$work/summary.txt"
average=$(sed -n 's/.* \([0-9.]*\) frames per second on average.*/\1/p' "$work/summary.txt")
low=$(sed -n 's/.*1 % low \([0-9.]*\),.*/\1/p' "$work/summary.txt")
summary=$(sed -n 's/^ironstep-timedemo: \(.*\); each frame.*/\1/p' "$work/summary.txt")
if [ -z "$average" ] || [ -z "$low" ]; then
    echo "timedemo.sh: no figures in the timedemo's summary" >&2
    exit 1
fi
# The picture appears whole or not at all.
gnuplot -e "csv='$work/frames.csv'; out='$work/plot.png'; average=$average; low=$low; summary='showcase, $summary'" \
    "$here/timedemo.gp"
mv "$work/plot.png" "$picture"
echo "timedemo.sh: drew $picture"
