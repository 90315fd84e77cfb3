#!/usr/bin/env bash
# What zova-x11 costs a desktop: starts a private Xvfb screen of the given size, runs the built
# hack on its root window with 30 balls, and prints the cores the hack process and the X server
# used over the interval (from /proc/PID/stat) and the frame pace the hack reported with --fps.
# A measurement, not a test; it builds nothing (build the native preset first).
# Usage: scripts/measure-x11.sh WxH [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

size=${1:?usage: scripts/measure-x11.sh WxH [SECONDS]}
seconds=${2:-10}
delay=10000
hack=build/native/x11/zova-x11
[ -x "$hack" ] || { echo "no $hack: build the native preset first" >&2; exit 1; }

state=$(mktemp -d)
xvfb_pid=
hack_pid=
cleanup() {
    if [ -n "$hack_pid" ]; then kill "$hack_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$state"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$state/display" \
    >"$state/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$state/display" ] && break
    sleep 0.1
done
[ -s "$state/display" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
display=:$(tr -d '\n' <"$state/display")

"$hack" --display "$display" --root --count 30 --delay "$delay" --fps 2>"$state/fps" &
hack_pid=$!
# The balls start beyond the corners: measure once they are in.
sleep 3

# CPU time (user + system) in clock ticks; the names have no spaces, so fields 14 and 15 hold.
cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hack_before=$(cpu "$hack_pid")
xvfb_before=$(cpu "$xvfb_pid")
lines_before=$(wc -l <"$state/fps")
start=$(date +%s.%N)
sleep "$seconds"
hack_after=$(cpu "$hack_pid")
xvfb_after=$(cpu "$xvfb_pid")
end=$(date +%s.%N)
tail -n +"$((lines_before + 1))" "$state/fps" >"$state/fps.interval"

awk -v size="$size" -v hz="$(getconf CLK_TCK)" -v wall="$(awk -v a="$start" -v b="$end" "BEGIN { print b - a }")" \
    -v hack="$((hack_after - hack_before))" -v xvfb="$((xvfb_after - xvfb_before))" \
    -v delay="$delay" '
    { fps += $2; n++ }
    END {
        split(size, s, "x")
        h = hack / hz / wall; x = xvfb / hz / wall
        pace = n ? 1000 / (fps / n) : 0
        print "| screen | hack process | X server | together | frame pace (--delay " delay / 1000 " ms) |"
        print "|---|---|---|---|---|"
        printf "| %s x %s | %.3f of a core | %.3f of a core | %.3f of a core | %.2f ms (%+.1f%%) |\n",
               s[1], s[2], h, x, h + x, pace, (pace * 1000 / delay - 1) * 100
    }' "$state/fps.interval"
