#!/bin/sh
# Runs every test: the headless logic tests in the normal and the sanitizer
# builds, and the drawing and process tests under a private Xvfb display.
set -eu
build=$1
build_sanitize=$2

. "$(dirname "$0")/xvfb.sh"
start_xvfb
trap stop_xvfb EXIT INT TERM

echo "== tests (display $DISPLAY)"
ctest --test-dir "$build" --output-on-failure
echo "== logic tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$build_sanitize" --output-on-failure
if [ $# -ge 3 ]; then
    echo "== fuzzing the readers of outside data (${FUZZ_TEST_SECONDS:-15}s a target)"
    sh "$(dirname "$0")/run_fuzz.sh" "$3" "${FUZZ_TEST_SECONDS:-15}"
fi
