#!/bin/sh
# Runs a command under a private Xvfb display of its own, with a screen of
# the given size. Usage: on_display.sh WIDTHxHEIGHT COMMAND [ARGUMENT...]
set -eu
. "$(dirname "$0")/xvfb.sh"
start_xvfb "$1"
shift
trap stop_xvfb EXIT INT TERM
"$@"
