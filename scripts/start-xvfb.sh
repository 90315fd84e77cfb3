#!/usr/bin/env bash
# Starts a private Xvfb display on a free number, detached from the caller's output.
# Usage: start-xvfb.sh STATE_DIR   -> writes STATE_DIR/xvfb.pid and STATE_DIR/display (the number)
set -euo pipefail
state=$1
mkdir -p "$state"
rm -f "$state/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display.tmp" \
    >"$state/xvfb.log" 2>&1 </dev/null &
echo $! >"$state/xvfb.pid"
for _ in $(seq 100); do
    [ -s "$state/display.tmp" ] && break
    sleep 0.1
done
if [ ! -s "$state/display.tmp" ]; then
    echo "Xvfb did not start; see $state/xvfb.log" >&2
    exit 1
fi
tr -d '\n' <"$state/display.tmp" >"$state/display"
rm -f "$state/display.tmp"
