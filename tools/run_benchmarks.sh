#!/bin/sh
# Runs the benchmarks under private Xvfb displays; they print their figures,
# and a table of the headline figures beside their targets closes the run.
# The frame benchmark and the timedemo run on a 1920 x 1080 screen, where the
# game scales its picture full screen; the rest on an 800 x 600 one.
set -eu
build=$1
work=$(mktemp -d)

. "$(dirname "$0")/xvfb.sh"
start_xvfb 1920x1080
trap 'stop_xvfb; rm -rf "$work"' EXIT INT TERM

# Sound as on a machine with a sound card: ALSA's default device, for the
# benchmarks alone, is its null device, which takes the mixer's output and
# discards it.
mkdir -p "$work/alsa"
echo 'pcm.!default { type null }' > "$work/alsa/asoundrc"
XDG_CONFIG_HOME=$work
export XDG_CONFIG_HOME

echo "== frame_bench"
"$build/bench/frame_bench" "$work/rows.tsv"
echo "== the showcase timedemo, full screen at 1920 x 1080"
"$build/ironstep-timedemo" > "$work/timedemo.txt" 2>&1
tail -n 1 "$work/timedemo.txt"
low=$(sed -n 's/.*1 % low \([0-9.]*\),.*/\1/p' "$work/timedemo.txt")
average=$(sed -n 's/.* \([0-9.]*\) frames per second on average.*/\1/p' "$work/timedemo.txt")
met=$(awk -v low="${low:-0}" 'BEGIN { print (low > 60) ? "yes" : "NO" }')
printf 'showcase timedemo at 1920 x 1080: 1 %% low\t%s frames per second (average %s)\tabove 60\t%s\n' \
    "${low:-none}" "${average:-none}" "$met" >> "$work/rows.tsv"
stop_xvfb

start_xvfb
echo "== face_test_bench"
"$build/bench/face_test_bench" --benchmark_out="$work/face_tests.json" --benchmark_out_format=json
echo "== startup_bench"
"$build/bench/startup_bench" "$work/rows.tsv"
echo "== sound_bench"
"$build/bench/sound_bench" "$work/rows.tsv"
python3 "$(dirname "$0")/bench_summary.py" "$work/rows.tsv" "$work/face_tests.json"
