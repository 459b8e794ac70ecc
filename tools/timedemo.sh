#!/bin/sh
# Runs the timedemo on the showcase under a private Xvfb display and draws its
# frame times against the tick, with the average and the 1 % low marked.
# Usage: timedemo.sh BUILD PICTURE.png
set -eu
build=$1
picture=$2
here=$(dirname "$0")

. "$here/xvfb.sh"
start_xvfb_with_scratch_folder

"$build/ironstep-timedemo" --csv "$work/frames.csv" > "$work/summary.txt"
stop_xvfb
cat "$work/summary.txt"
# The figures head the CSV: "# frames F, seconds S, average_fps A, one_percent_low L, slowest_ms M".
figures=$(head -n 1 "$work/frames.csv")
average=$(echo "$figures" | sed -n 's/.* average_fps \([0-9.]*\),.*/\1/p')
low=$(echo "$figures" | sed -n 's/.* one_percent_low \([0-9.]*\),.*/\1/p')
frames=$(echo "$figures" | sed -n 's/^# frames \([0-9]*\),.*/\1/p')
slowest=$(echo "$figures" | sed -n 's/.* slowest_ms \([0-9.]*\)$/\1/p')
if [ -z "$average" ] || [ -z "$low" ] || [ -z "$frames" ] || [ -z "$slowest" ]; then
    echo "timedemo.sh: no figures at the head of the timedemo's CSV" >&2
    exit 1
fi
summary=$(printf '%d frames: %.2f frames per second on average, 1 %% low %.2f, slowest frame %.2f ms' \
    "$frames" "$average" "$low" "$slowest")
# The picture appears whole or not at all.
gnuplot -e "csv='$work/frames.csv'; out='$work/plot.png'; average=$average; low=$low; summary='showcase, $summary'" \
    "$here/timedemo.gp"
mv "$work/plot.png" "$picture"
echo "timedemo.sh: drew $picture"
