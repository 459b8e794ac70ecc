#!/bin/sh
# Runs the benchmarks under a private Xvfb display; they print their figures.
set -eu
build=$1

. "$(dirname "$0")/xvfb.sh"
start_xvfb
trap stop_xvfb EXIT INT TERM

for bench in "$build"/bench/*_bench; do
    echo "== $(basename "$bench")"
    "$bench"
done
