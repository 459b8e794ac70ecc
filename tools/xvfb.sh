# Sourced by the test and benchmark scripts: starts a private Xvfb display
# with Mesa's software renderer, its screen 800 x 600 (the game's own picture)
# or of the size given as WIDTHxHEIGHT.
start_xvfb() {
    size=${1:-800x600}
    n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
        n=$((n + 1))
    done
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    tries=0
    while [ ! -e "/tmp/.X11-unix/X$n" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start on :$n" >&2
            exit 1
        fi
        sleep 0.1
    done
    DISPLAY=":$n"
    LIBGL_ALWAYS_SOFTWARE=1
    export DISPLAY LIBGL_ALWAYS_SOFTWARE
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

# A private display and a scratch folder in $work, both gone when the script
# ends however it ends.
start_xvfb_with_scratch_folder() {
    work=$(mktemp -d)
    start_xvfb
    trap 'stop_xvfb; rm -rf "$work"' EXIT INT TERM
}

# Runs a rendering program with its output kept in $work/log: the log's last
# line on success, the whole log and the script's end on failure.
render_or_fail() {
    if ! "$@" >"$work/log" 2>&1; then
        cat "$work/log" >&2
        exit 1
    fi
    tail -n 1 "$work/log"
}
