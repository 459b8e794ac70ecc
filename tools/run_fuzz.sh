#!/bin/sh
# Fuzzes the game's readers of outside data: every saved regression input is
# replayed once, then each target runs for SECONDS seconds from its seeds,
# two targets at a time.
# Usage: run_fuzz.sh BUILD_FUZZ SECONDS
# A crash, sanitizer report or hang fails the run; the input that caused it
# is left in BUILD_FUZZ/artifacts/TARGET/ to be saved in fuzz/regressions/.
set -eu
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
failed=""

# Fuzzes one target, given as NAME:LONGEST_INPUT; says how it went in
# BUILD_FUZZ/fuzz_NAME.said, and leaves BUILD_FUZZ/fuzz_NAME.failed on a fault.
fuzz_target() {
    target=${1%%:*}
    max_len=${1#*:}
    binary=$build/fuzz_$target
    log=$build/fuzz_$target.log
    said=$build/fuzz_$target.said
    regressions=$root/fuzz/regressions/$target
    # Failed until it says otherwise, so that no way out goes unnoticed.
    echo "$target(unfinished)" >"$build/fuzz_$target.failed"
    : >"$said"
    if [ -n "$(ls -A "$regressions" 2>/dev/null)" ]; then
        if ! "$binary" "$regressions"/* >"$log" 2>&1; then
            tail -n 40 "$log" >"$said"
            echo "$target(regressions)" >"$build/fuzz_$target.failed"
            return
        fi
        echo "$target: $(ls "$regressions" | wc -l) regression inputs pass" >>"$said"
    fi
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
    options=""
    if [ -f "$root/fuzz/$target.dict" ]; then
        options="-dict=$root/fuzz/$target.dict"
    fi
    if [ "$target" = demo_reader ] || [ "$target" = recording_file ]; then
        options="-len_control=0" # long streams from the start: the demo's end matters
    fi
    # New inputs go to the build's own corpus; the committed seeds stay as they are.
    if ! "$binary" -max_total_time="$seconds" -timeout=25 -max_len="$max_len" $options \
        -artifact_prefix="$build/artifacts/$target/" -print_final_stats=1 \
        "$build/corpus/$target" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log" >>"$said"
        echo "$target" >"$build/fuzz_$target.failed"
        return
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
    echo "$target: $runs inputs in ${seconds}s, $coverage edges, no fault" >>"$said"
    rm -f "$build/fuzz_$target.failed"
}

# Target name and the longest input it is given: the demo reader and the
# tools' recording reader read every record of a whole demo and a few past it.
# Two at a time, one a core; a signal ends the pair running.
pair=""
stop_pair() {
    for job in $pair; do
        pkill -P "$job" 2>/dev/null || true
        kill "$job" 2>/dev/null || true
    done
}
trap 'stop_pair; exit 130' INT
trap 'stop_pair; exit 143' TERM
set -- demo_reader:25100 scenery_loader:16384 datafile_check:16384 demo_script:4096 recording_file:25100 \
    settings_file:4096
while [ $# -gt 0 ]; do
    fuzz_target "$1" &
    pair=$!
    if [ $# -gt 1 ]; then
        fuzz_target "$2" &
        pair="$pair $!"
    fi
    wait
    for entry in "$1" ${2:+"$2"}; do
        target=${entry%%:*}
        cat "$build/fuzz_$target.said"
        if [ -f "$build/fuzz_$target.failed" ]; then
            failed="$failed $(cat "$build/fuzz_$target.failed")"
        fi
    done
    shift
    [ $# -eq 0 ] || shift
done

if [ -n "$failed" ]; then
    echo "fuzzing found faults in:$failed (inputs in $build/artifacts/)" >&2
    exit 1
fi
