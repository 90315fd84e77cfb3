#!/usr/bin/env bash
# Sets up and tears down the Wine environment of one test run: a fresh prefix of the target's
# architecture inside the build tree, a private Xvfb display and a persistent wineserver.
# Usage: wine-fixture.sh setup STATE_DIR win32|win64
#        wine-fixture.sh teardown STATE_DIR
set -euo pipefail
action=$1
state=$2

stop() {
    if [ -d "$state/prefix" ]; then
        WINEPREFIX="$state/prefix" wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" >/dev/null 2>&1 || true
        rm -f "$state/xvfb.pid"
    fi
    rm -f "$state/ready"
}

case "$action" in
teardown)
    stop
    exit 0
    ;;
setup)
    arch=$3
    stop
    rm -rf "$state"
    mkdir -p "$state"

    # A display of our own; Xvfb picks a free number and reports it.
    "$(dirname "$0")/start-xvfb.sh" "$state"
    display=$(cat "$state/display")

    export WINEPREFIX="$state/prefix" WINEARCH="$arch" WINEDEBUG=-all
    export DISPLAY=":$display"
    mkdir -p "$WINEPREFIX"
    # The server keeps running for the whole test run; its output goes to a file so that no
    # pipe of ctest's stays open behind it.
    wineserver -p >"$state/wineserver.log" 2>&1 </dev/null
    env LC_ALL=ja_JP.UTF-8 wineboot -i >"$state/wineboot.log" 2>&1 </dev/null
    # Without a window manager an unmanaged window is destroyed at once instead of after ~2 s.
    env LC_ALL=ja_JP.UTF-8 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >>"$state/wineboot.log" 2>&1 </dev/null
    # Services started while the prefix was being made can leave a process's first window-system
    # call waiting seconds for them; a fresh server starts them again from the finished registry.
    # Their output goes to the log: the next Wine process starts them, and a pipe would stay open.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p >>"$state/wineserver.log" 2>&1 </dev/null
    env LC_ALL=ja_JP.UTF-8 wineboot >>"$state/wineboot.log" 2>&1 </dev/null
    touch "$state/ready"
    echo "Wine $arch prefix ready at $WINEPREFIX on display :$display"
    ;;
*)
    echo "usage: $0 setup|teardown STATE_DIR [ARCH]" >&2
    exit 2
    ;;
esac
