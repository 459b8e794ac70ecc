#!/bin/sh
# Runs a command with openbox managing the X display in DISPLAY, once the
# window manager has announced itself on the root window, and ends it after.
# Its settings and cache go to a folder of its own, removed at the end.
# Usage: with_window_manager.sh COMMAND [ARGUMENT...]
set -eu
home=$(mktemp -d)
HOME=$home XDG_CONFIG_HOME=$home XDG_CACHE_HOME=$home openbox --sm-disable >/dev/null 2>&1 &
manager=$!
trap 'kill $manager 2>/dev/null; wait $manager 2>/dev/null; rm -rf "$home"' EXIT INT TERM
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    tries=$((tries + 1))
    if [ $tries -ge 1200 ]; then
        echo "with_window_manager.sh: openbox did not start within 120 s" >&2
        exit 1
    fi
    sleep 0.1
done
status=0
"$@" || status=$?
exit $status
