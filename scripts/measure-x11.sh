#!/usr/bin/env bash
# What zova-x11 costs a desktop: starts a private X server with the given monitor layout, runs
# the hack on its root window with 30 balls from seed 1 (the same run every time), and prints
# the cores the hack process and the X server used over the interval (the scheduler's counts in
# /proc/PID/task/*/schedstat), then the frame pace: how often the screen changed over a second
# interval, counted through DAMAGE (scripts/count-frames.py) once the CPU is measured, so that
# the counter's own cost stays out of it.
# LAYOUT is WxH for one monitor (an Xvfb screen), or WxH,WxH,... for monitors side by side: an
# Xephyr with one Xinerama head each, on a private Xvfb as its host (the host's CPU is shown
# apart: a real desktop has no such second server).
# A measurement, not a test; it builds nothing (build the native preset first). HACK is the
# program to measure (the built one by default); further words go to it (--fps, --count 0).
# Usage: scripts/measure-x11.sh LAYOUT [SECONDS] [HACK] [HACK OPTIONS...]
set -euo pipefail
cd "$(dirname "$0")/.."

layout=${1:?usage: scripts/measure-x11.sh LAYOUT [SECONDS] [HACK] [HACK OPTIONS...]}
seconds=${2:-10}
hack=${3:-build/native/x11/zova-x11}
shift $(($# < 3 ? $# : 3))
delay=10000
[ -x "$hack" ] || { echo "no $hack: build the native preset first" >&2; exit 1; }

state=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    rm -rf "$state"
}
trap cleanup EXIT

# Starts an X server with -displayfd 3 and the given arguments; sets $display and $server.
start_server() {
    local name=$1
    shift
    "$@" -displayfd 3 -nolisten tcp 3>"$state/$name.display" >"$state/$name.log" 2>&1 </dev/null &
    server=$!
    pids+=("$server")
    for _ in $(seq 100); do
        [ -s "$state/$name.display" ] && break
        sleep 0.1
    done
    [ -s "$state/$name.display" ] || { echo "$name did not start" >&2; cat "$state/$name.log" >&2; exit 1; }
    display=:$(tr -d '\n' <"$state/$name.display")
}

IFS=, read -r -a heads <<<"$layout"
host_pid=
if [ ${#heads[@]} -eq 1 ]; then
    start_server xvfb Xvfb -screen 0 "${heads[0]}x24"
else
    # The host only needs room for the largest head: Xephyr puts each head's window at (0, 0).
    width=0 height=0 screens=()
    for head in "${heads[@]}"; do
        width=$((width > ${head%x*} ? width : ${head%x*}))
        height=$((height > ${head#*x} ? height : ${head#*x}))
        screens+=(-screen "$head")
    done
    start_server host Xvfb -screen 0 "${width}x${height}x24"
    host_pid=$server
    DISPLAY=$display start_server xephyr Xephyr +xinerama -extension RANDR "${screens[@]}"
fi
server_pid=$server

"$hack" --display "$display" --root --count 30 --delay "$delay" --seed 1 "$@" >/dev/null 2>"$state/hack.log" &
hack_pid=$!
pids+=("$hack_pid")
# The balls start beyond the corners: measure once they are in.
sleep 3

# CPU time of every thread in nanoseconds (the scheduler's own count: /proc/PID/stat's clock
# ticks are too coarse for a few hundredths of a core).
cpu() { if [ -n "$1" ]; then cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { print s }'; else echo 0; fi; }
hack_before=$(cpu "$hack_pid") server_before=$(cpu "$server_pid") host_before=$(cpu "$host_pid")
start=$(date +%s.%N)
sleep "$seconds"
hack_after=$(cpu "$hack_pid") server_after=$(cpu "$server_pid") host_after=$(cpu "$host_pid")
end=$(date +%s.%N)
kill -0 "$hack_pid" 2>/dev/null || { echo "the hack ended early" >&2; cat "$state/hack.log" >&2; exit 1; }
# Changes closer than 4 ms belong to one tick's copies.
fps=$(DISPLAY=$display python3 scripts/count-frames.py "$seconds" 4)

awk -v layout="$layout" -v hz=1e9 -v start="$start" -v end="$end" \
    -v hack="$((hack_after - hack_before))" -v server="$((server_after - server_before))" \
    -v host="$((host_after - host_before))" -v nested="$host_pid" -v delay="$delay" \
    -v fps="$fps" -v options="$*" 'BEGIN {
        wall = end - start
        h = hack / hz / wall; x = server / hz / wall
        pace = fps > 0 ? 1000 / fps : 0
        print "| layout | options | hack process | X server | together | frame pace (--delay " delay / 1000 " ms) |" (nested ? " host Xvfb under Xephyr |" : "")
        print "|---|---|---|---|---|---|" (nested ? "---|" : "")
        printf "| %s | %s | %.4f | %.4f | %.4f | %.2f ms (%+.1f%%) |", layout, options, h, x, h + x, pace, (pace * 1000 / delay - 1) * 100
        if (nested) printf " %.4f |", host / hz / wall
        print ""
    }'
