#!/usr/bin/env bash
# What the running saver costs a user: starts the built zova.scr /s under Wine on a private Xvfb
# screen of the given size and prints the share of a core its process used over the interval,
# the X server's share, and the frames per second that reached the screen. Builds nothing; a
# measurement, not a test.
# Usage: scripts/measure-cpu.sh LAYOUT [SECONDS] [SAVER]   (SAVER: build/win32/zova.scr by default)
#   LAYOUT: WxH for one monitor, or WxH+WxH+... for monitors side by side (Xephyr heads on an
#   Xvfb host; the X server counted is then Xephyr, the one the saver talks to)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
size=${1:?usage: $0 LAYOUT [SECONDS] [SAVER]}
seconds=${2:-10}
saver=$(realpath "${3:-build/win32/zova.scr}")
[ -f "$saver" ] || { echo "no $saver: build the win32 preset first" >&2; exit 2; }

state=$root/build/measure
export WINEPREFIX=$root/build/measure-prefix WINEARCH=win32 WINEDEBUG=-all
unset WINEDLLOVERRIDES
mkdir -p "$state" "$WINEPREFIX"
wine_ja() { env LC_ALL=ja_JP.UTF-8 "$@"; }

xvfb_pid=
xephyr_pid=
cleanup() {
    # Waited for: a saver still closing would make the next run's start a silent second start.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    if [ -n "$xephyr_pid" ]; then kill "$xephyr_pid" >/dev/null 2>&1 || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT
IFS=+ read -r -a heads <<<"$size"
host=${heads[0]}
[ ${#heads[@]} -gt 1 ] && host=1024x768
Xvfb -displayfd 3 -screen 0 "${host}x24" -nolisten tcp 3>"$state/display" \
    >"$state/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
server_pid=$xvfb_pid
for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '\n' <"$state/display")"
if [ ${#heads[@]} -gt 1 ]; then
    scripts/start-heads.sh "$state" "$(printf -- '-screen %s ' "${heads[@]}")"
    xephyr_pid=$(cat "$state/xephyr.pid")
    server_pid=$xephyr_pid
    export DISPLAY=":$(cat "$state/heads")"
fi

# Wine's background processes keep the output they were started with: a file, never a pipe.
wineserver -p >"$state/wineserver.log" 2>&1 </dev/null
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine_ja wineboot -i >"$state/wineboot.log" 2>&1 </dev/null
    wine_ja wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >>"$state/wineboot.log" 2>&1 </dev/null
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p >>"$state/wineserver.log" 2>&1 </dev/null
fi
wine_ja wineboot >>"$state/wineboot.log" 2>&1 </dev/null
# 30 balls, as the busiest saver a user can set up.
wine_ja wine reg add 'HKCU\Software\Nurvo\SCREEN SAVER\ZOVA' /v COUNT /t REG_DWORD /d 30 /f \
    >>"$state/wineboot.log" 2>&1 </dev/null

wine_ja wine "$saver" /s >"$state/wine.log" 2>&1 </dev/null &
# The program's own process is the Wine process whose command line starts with its path.
pid=
for _ in $(seq 100); do
    pid=$(pgrep -f -n -x -- "$saver /s" || true)
    [ -n "$pid" ] && break
    sleep 0.1
done
[ -n "$pid" ] || { echo "zova.scr did not start" >&2; exit 1; }
# Balls start beyond the corners: let them come in.
sleep 4
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
before=$(cpu "$pid")
server_before=$(cpu "$server_pid")
python3 "$root/scripts/count-frames.py" "$seconds" >"$state/frames" &
counter=$!
sleep "$seconds"
after=$(cpu "$pid")
server_after=$(cpu "$server_pid")
wait "$counter"
ticks=$(getconf CLK_TCK)
awk -v s="$size" -v a="$after" -v b="$before" -v xa="$server_after" -v xb="$server_before" \
    -v t="$ticks" -v n="$seconds" -v f="$(cat "$state/frames")" \
    'BEGIN { printf "%s: zova.scr used %.3f of a core over %d s, the X server %.3f; %s frames per second reached the screen\n", s, (a - b) / t / n, n, (xa - xb) / t / n, f }'
kill "$pid" 2>/dev/null || true
