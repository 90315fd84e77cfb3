#!/usr/bin/env bash
# Builds zova.scr (the win32 preset) and starts it under Wine, full-screen by default; any
# arguments replace the default "/s" (scripts/run.sh /c opens the setup dialog).
#
# With $DISPLAY set, the saver runs on that display until a key or a click ends it. Without one,
# it runs on a private Xvfb display for a few seconds, screenshots go to build/screenshots/, and
# a key press ends it. ZOVA_SCREENS="-screen 1280x1024 -screen 1024x768" makes that private
# display a desktop of several monitors (Xephyr heads; see scripts/start-heads.sh).
#
# Wine runs in a prefix of its own under build/, never in ~/.wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target zova press_key

saver=$root/build/win32/zova.scr
press_key=$root/build/win32/press_key.exe
state=$root/build/run
screenshots=$root/build/screenshots
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(/s)

export WINEPREFIX=$root/build/run-prefix WINEARCH=win32 WINEDEBUG=-all
unset WINEDLLOVERRIDES
mkdir -p "$state"

# A Japanese locale gives Wine the code page 932 of a Japanese Windows; the saver's texts need it.
# Only Wine gets it: the host may have no such locale.
wine_ja() { env LC_ALL=ja_JP.UTF-8 "$@"; }

xvfb_pid=
xephyr_pid=
started_server=
cleanup() {
    # Only what this script started: its prefix's server and its own display.
    if [ -n "$started_server" ]; then wineserver -k >/dev/null 2>&1 || true; fi
    if [ -n "$xephyr_pid" ]; then kill "$xephyr_pid" >/dev/null 2>&1 || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    scripts/start-xvfb.sh "$state"
    xvfb_pid=$(cat "$state/xvfb.pid")
    export DISPLAY=":$(cat "$state/display")"
    if [ -n "${ZOVA_SCREENS:-}" ]; then
        scripts/start-heads.sh "$state" "$ZOVA_SCREENS"
        xephyr_pid=$(cat "$state/xephyr.pid")
        export DISPLAY=":$(cat "$state/heads")"
    fi
fi

# Wine's background processes keep the output they were started with: give them a file, not
# this terminal or a pipe of the caller's.
started_server=1
mkdir -p "$WINEPREFIX"
wineserver -p >"$state/wineserver.log" 2>&1 </dev/null
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX (once, about 15 s)"
    wine_ja wineboot -i >"$state/wineboot.log" 2>&1 </dev/null
    # Services started while the prefix was being made may not know all of it; a fresh server
    # starts them again from the finished registry.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p >"$state/wineserver.log" 2>&1 </dev/null
fi
wine_ja wineboot >>"$state/wineboot.log" 2>&1 </dev/null

if [ -z "$xvfb_pid" ]; then
    echo "Starting zova.scr ${args[*]} on $DISPLAY"
    wine_ja wine "$saver" "${args[@]}" >"$state/wine.log" 2>&1 </dev/null
    exit 0
fi

echo "Starting zova.scr ${args[*]} on the private display $DISPLAY"
wine_ja wine "$saver" "${args[@]}" >"$state/wine.log" 2>&1 </dev/null &
saver_pid=$!
mkdir -p "$screenshots"
rm -f "$screenshots"/zova-*.png
# Balls start beyond the corners of the screen: give them time to come in.
sleep 4
for shot in 1 2 3; do
    import -display "$DISPLAY" -window root "$screenshots/zova-$shot.png"
    sleep 1
done

# End it as a user would, with a key; if that does not do it, stop it.
wine_ja wine "$press_key" >>"$state/wine.log" 2>&1 </dev/null || true
for _ in $(seq 50); do
    kill -0 "$saver_pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$saver_pid" 2>/dev/null; then
    echo "zova.scr did not end on a key; stopping it" >&2
    kill "$saver_pid" 2>/dev/null || true
fi
wait "$saver_pid" 2>/dev/null || true
echo "Screenshots: $screenshots/zova-1.png zova-2.png zova-3.png"
