#!/usr/bin/env bash
# Runs a Windows program under Wine in the test run's private prefix and display.
# Usage: wine-run.sh STATE_DIR PROGRAM [ARGS...]   (STATE_DIR is made by wine-fixture.sh setup)
set -euo pipefail
state=$1
shift
if [ ! -f "$state/ready" ]; then
    echo "wine-run: no Wine prefix at $state (the wine-setup test makes it)" >&2
    exit 2
fi
# Never fall back to ~/.wine.
export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
export DISPLAY=":$(cat "$state/display")"
unset WINEDLLOVERRIDES
exec env LC_ALL=ja_JP.UTF-8 wine "$@"
