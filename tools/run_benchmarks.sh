#!/bin/sh
# Runs the benchmarks under private Xvfb displays; they print their figures,
# and a table of the headline figures beside their targets closes the run.
# The frame benchmark and the timedemo run on a 1920 x 1080 screen, where the
# game scales its picture full screen (the frames presented again by the
# fallback pass, and the timedemo again in a window of one picture, beside
# them); the rest on an 800 x 600 one.
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
echo "== frame_bench: the frames presented by the fallback pass"
IRONSTEP_SCALING_PASS=fallback "$build/bench/frame_bench" --presented "$work/rows.tsv"
echo "== the showcase timedemo, full screen at 1920 x 1080, then in an 800 x 600 window"
"$build/ironstep-timedemo" > "$work/timedemo.txt" 2>&1
tail -n 1 "$work/timedemo.txt"
IRONSTEP_WINDOW=1 "$build/ironstep-timedemo" > "$work/timedemo_window.txt" 2>&1
tail -n 1 "$work/timedemo_window.txt"
average() { sed -n 's/.* \([0-9.]*\) frames per second on average.*/\1/p' "$1"; }
low() { sed -n 's/.*1 % low \([0-9.]*\),.*/\1/p' "$1"; }
full=$(average "$work/timedemo.txt")
window=$(average "$work/timedemo_window.txt")
awk -v full="${full:-0}" -v window="${window:-0}" -v full_low="$(low "$work/timedemo.txt")" \
    -v window_low="$(low "$work/timedemo_window.txt")" 'BEGIN {
    ratio = window > 0 ? full / window : 0
    printf "showcase timedemo full screen at 1920 x 1080 / in an 800 x 600 window\t"
    printf "%.2f (%s against %s frames per second; 1 %% low %s against %s)\tat least 0.7\t%s\n",
        ratio, full, window, full_low, window_low, (ratio >= 0.7 ? "yes" : "NO")
}' >> "$work/rows.tsv"
stop_xvfb

start_xvfb
echo "== face_test_bench"
"$build/bench/face_test_bench" --benchmark_out="$work/face_tests.json" --benchmark_out_format=json
echo "== startup_bench"
"$build/bench/startup_bench" "$work/rows.tsv"
echo "== play_bench"
"$build/bench/play_bench" "$work/rows.tsv"
echo "== sound_bench"
"$build/bench/sound_bench" "$work/rows.tsv"
python3 "$(dirname "$0")/bench_summary.py" "$work/rows.tsv" "$work/face_tests.json"
