#!/usr/bin/env bash
# Builds zova-x11 (the native preset) and runs it; any arguments go to the hack
# (scripts/run-x11.sh --count 30 --fps).
#
# With $DISPLAY set, the balls roll in a window on that display until it is closed (or Ctrl+C).
# Without one, the hack draws on the root window of a private Xvfb display for a few seconds,
# screenshots go to build/screenshots/, and SIGTERM ends it as a screen saver would.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target zova-x11

hack=$root/build/native/x11/zova-x11
if [ -n "${DISPLAY:-}" ]; then
    echo "Starting zova-x11 $* on $DISPLAY (close its window or press Ctrl+C to end it)"
    exec "$hack" "$@"
fi

state=$root/build/run-x11
screenshots=$root/build/screenshots
mkdir -p "$state" "$screenshots"
xvfb_pid=
hack_pid=
cleanup() {
    # Only what this script started.
    if [ -n "$hack_pid" ]; then kill "$hack_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

rm -f "$state/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" \
    >"$state/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
    grep -q . "$state/display" 2>/dev/null && break
    sleep 0.1
done
grep -q . "$state/display" || { echo "Xvfb did not start; see $state/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$state/display")"

echo "Starting zova-x11 --root $* on the private display $DISPLAY"
"$hack" --root "$@" 2>"$state/hack.log" &
hack_pid=$!
rm -f "$screenshots"/zova-x11-*.png
# Balls start beyond the corners of the screen: give them time to come in.
sleep 3
for shot in 1 2 3; do
    import -display "$DISPLAY" -window root "$screenshots/zova-x11-$shot.png"
    sleep 1
done

kill -TERM "$hack_pid"
status=0
wait "$hack_pid" || status=$?
hack_pid=
echo "zova-x11 ended with status $status"
echo "Screenshots: $screenshots/zova-x11-1.png zova-x11-2.png zova-x11-3.png"
