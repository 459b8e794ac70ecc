#!/bin/sh
# Runs the benchmarks under a private Xvfb display; they print their figures,
# and a table of the headline figures beside their targets closes the run.
set -eu
build=$1
work=$(mktemp -d)

. "$(dirname "$0")/xvfb.sh"
start_xvfb
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
echo "== face_test_bench"
"$build/bench/face_test_bench" --benchmark_out="$work/face_tests.json" --benchmark_out_format=json
echo "== startup_bench"
"$build/bench/startup_bench" "$work/rows.tsv"
echo "== sound_bench"
"$build/bench/sound_bench" "$work/rows.tsv"
python3 "$(dirname "$0")/bench_summary.py" "$work/rows.tsv" "$work/face_tests.json"
