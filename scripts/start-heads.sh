#!/usr/bin/env bash
# Starts a private Xephyr on $DISPLAY whose Xinerama heads make a desktop of several monitors,
# detached from the caller's output. RandR is off: with it, Wine would see a single output.
# Usage: start-heads.sh STATE_DIR "SCREENS"   e.g. "-screen 800x600 -screen 640x480", or with
#        "-origin X,Y" before a -screen to place that head (a negative virtual origin)
#        -> writes STATE_DIR/xephyr.pid and STATE_DIR/heads (the display number)
set -euo pipefail
state=$1 screens=$2
mkdir -p "$state"
rm -f "$state/heads"
# A display number taken by a server starting at the same moment makes Xephyr give up: try again.
for _ in 1 2 3; do
    # shellcheck disable=SC2086
    Xephyr -displayfd 3 +xinerama -extension RANDR -nolisten tcp $screens 3>"$state/heads.tmp" \
        >"$state/xephyr.log" 2>&1 </dev/null &
    echo $! >"$state/xephyr.pid"
    for _ in $(seq 100); do
        [ -s "$state/heads.tmp" ] && break
        kill -0 "$(cat "$state/xephyr.pid")" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$state/heads.tmp" ] && break
done
if [ ! -s "$state/heads.tmp" ]; then
    echo "Xephyr did not start; see $state/xephyr.log" >&2
    exit 1
fi
tr -d '\n' <"$state/heads.tmp" >"$state/heads"
rm -f "$state/heads.tmp"
