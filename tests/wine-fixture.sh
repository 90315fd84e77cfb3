#!/usr/bin/env bash
# The Wine environment of one test run: a fresh prefix of the target's architecture inside the
# build tree, a private Xvfb display, and a wineserver that lives for the whole run.
# Usage: wine-fixture.sh setup STATE_DIR win32|win64
#        wine-fixture.sh run STATE_DIR PROGRAM [ARGS...]   (the tests' emulator)
#        wine-fixture.sh heads STATE_DIR "XEPHYR SCREENS" PROGRAM [ARGS...]
#            (PROGRAM, a Windows program, on a desktop of several monitors: Xephyr heads on the
#            run's Xvfb, e.g. "-screen 800x600 -screen 640x480")
#        wine-fixture.sh teardown STATE_DIR
set -euo pipefail
action=$1 state=$2
shift 2
# Never ~/.wine, whatever the caller's environment says.
export WINEPREFIX="$state/prefix" WINEDEBUG=-all
unset WINEDLLOVERRIDES
wine_ja() { env LC_ALL=ja_JP.UTF-8 "$@" </dev/null >>"$state/wine.log" 2>&1; }

stop() {
    if [ -d "$WINEPREFIX" ]; then wineserver -k >/dev/null 2>&1 || true; fi
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$state/xvfb.pid" "$state/ready"
}

case $action in
run)
    if [ ! -f "$state/ready" ]; then
        echo "wine-fixture: no Wine prefix at $state (the wine-setup test makes it)" >&2
        exit 2
    fi
    display=$(cat "$state/display")
    # Code page 932, as on a Japanese Windows.
    exec env DISPLAY=":$display" LC_ALL=ja_JP.UTF-8 wine "$@"
    ;;
heads)
    [ -f "$state/ready" ] || { echo "wine-fixture: no Wine prefix at $state" >&2; exit 2; }
    screens=$1
    shift
    display=$(cat "$state/display")
    # Wine's desktop reads the monitors when it starts: a server of its own sees this layout.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    status=0
    if DISPLAY=":$display" "$(dirname "$0")/../scripts/start-heads.sh" "$state" "$screens"; then
        wineserver -p >>"$state/wine.log" 2>&1 </dev/null
        env DISPLAY=":$(cat "$state/heads")" LC_ALL=ja_JP.UTF-8 wine "$@" || status=$?
    else
        status=1
    fi
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    kill "$(cat "$state/xephyr.pid")" 2>/dev/null || true
    # The rest of the run goes on with a server, and the services it starts, on the run's own
    # display: services started later by some test's process would stay with that process's
    # desktop (a virtual one keeps its explorer running for them).
    DISPLAY=":$display" wineserver -p >>"$state/wine.log" 2>&1 </dev/null
    DISPLAY=":$display" wine_ja wineboot
    exit $status
    ;;
teardown)
    stop
    ;;
setup)
    stop
    rm -rf "$state"
    "$(dirname "$0")/../scripts/start-xvfb.sh" "$state"
    display=$(cat "$state/display")
    export WINEARCH=$1 DISPLAY=":$display"
    mkdir -p "$WINEPREFIX"
    # The server's output goes to a file: a pipe of ctest's left open behind it hangs the run.
    wineserver -p >>"$state/wine.log" 2>&1 </dev/null
    wine_ja wineboot -i
    # Unmanaged windows go at once instead of after ~2 s without a window manager; the programs
    # under test take an mpr.dll from the system directory (a double, or none) for Wine's own.
    cat >"$state/settings.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\zova.scr\DllOverrides]
"mpr"="native"

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\windows_tests.exe\DllOverrides]
"mpr"="native"
REG
    wine_ja wine reg import "Z:${state//\//\\}\\settings.reg"
    # Services started while the prefix was made can keep a process's first window-system call
    # waiting for seconds; a fresh server starts them again from the finished registry.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p >>"$state/wine.log" 2>&1 </dev/null
    wine_ja wineboot
    touch "$state/ready"
    echo "Wine $WINEARCH prefix ready at $WINEPREFIX on display $DISPLAY"
    ;;
esac
