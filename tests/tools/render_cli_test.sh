#!/usr/bin/env bash
# zova-render as a user runs it: bad options fail with one line and write nothing; good runs
# write exactly the frames asked for, as valid PNGs that look like the saver.
# Usage: render_cli_test.sh CHECK ZOVA_RENDER PNG_PROBE WORK_DIR
set -u
check=$1 render=$2 probe=$3 work=$4
rm -rf "$work" && mkdir -p "$work" || exit 1
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Runs zova-render; leaves its exit code, stdout and stderr in $code, $out and $err.
run() {
    "$render" "$@" >"$work/stdout" 2>"$work/stderr"
    code=$?
    out=$(cat "$work/stdout")
    err=$(cat "$work/stderr")
}

expect_refused() {
    local label=$1
    shift
    rm -rf "$work/frames"
    run "$@"
    local lines
    lines=$(wc -l <"$work/stderr")
    if [ "$code" -eq 0 ]; then fail "$label: exit code 0"; fi
    if [ "$code" -ge 128 ]; then fail "$label: died with code $code"; fi
    if [ "$lines" -ne 1 ]; then fail "$label: $lines lines on stderr: $err"; fi
    case $err in zova-render:*) ;; *) fail "$label: stderr does not name the tool: $err" ;; esac
    if [ -n "$out" ]; then fail "$label: wrote to stdout: $out"; fi
    if [ -n "$(ls -A "$work/frames" 2>/dev/null)" ]; then fail "$label: left files in the folder"; fi
}

# Checks a PNG's size and its colours; the remaining arguments are "black=N" style tests, each
# key followed by an operator word: key:ge:N, key:eq:N.
expect_png() {
    local file=$1 size=$2
    shift 2
    local probed
    if ! probed=$("$probe" "$file"); then
        fail "$file is not a readable PNG"
        return
    fi
    case $probed in "$size "*) ;; *) fail "$file: expected $size, got $probed" ;; esac
    local test key op want have
    for test in "$@"; do
        IFS=: read -r key op want <<<"$test"
        have=$(sed -n "s/.* $key=\([0-9]*\).*/\1/p" <<<"$probed")
        if ! [ "$have" -"$op" "$want" ]; then fail "$file: $key=$have, wanted -$op $want"; fi
    done
}

case $check in
bad-options)
    expect_refused "unknown flag" --out "$work/frames" --speed 3
    expect_refused "not a number" --out "$work/frames" --width abc
    expect_refused "height too large" --out "$work/frames" --height 16385
    expect_refused "missing value" --out "$work/frames" --ticks
    expect_refused "nothing to write" --ticks 3
    touch "$work/plain-file"
    expect_refused "folder is a file" --out "$work/plain-file" --ticks 1
    expect_refused "folder under a file" --out "$work/plain-file/frames" --ticks 1
    expect_refused "missing parent folder" --out "$work/no/such/frames" --ticks 1
    expect_refused "sheet in a missing folder" --sheet "$work/no/such/sheet.png" --ticks 1
    mkdir -p "$work/a-folder"
    expect_refused "sheet is a folder" --sheet "$work/a-folder" --ticks 1
    expect_refused "sheet too large" --sheet "$work/s.png" --width 16384 --height 16384 --ticks 4
    if [ -e "$work/s.png" ] || [ -e "$work/no" ]; then fail "refused runs left files"; fi
    run --help
    if [ "$code" -ne 0 ] || [ -n "$err" ]; then fail "--help: code $code, stderr $err"; fi
    case $out in *Usage:*--balls*) ;; *) fail "--help prints no usage" ;; esac
    ;;
frames)
    # 25 ticks, every 5th kept: frames 1 to 5, nothing else, no temporary files left.
    run --width 160 --height 120 --balls 30 --seed 3 --ticks 25 --every 5 --out "$work/frames"
    if [ "$code" -ne 0 ] || [ -n "$err" ]; then fail "good run: code $code, stderr $err"; fi
    listing=$(cd "$work/frames" && ls -A | tr '\n' ' ')
    if [ "$listing" != "frame_00001.png frame_00002.png frame_00003.png frame_00004.png frame_00005.png " ]; then
        fail "frames written: $listing"
    fi
    for f in "$work"/frames/frame_*.png; do
        expect_png "$f" "160 120" other:eq:0
    done
    # By tick 25 of 30 balls on a small canvas, some are in view, in white and red only
    # (with the pale flash of a turn-back now and then).
    expect_png "$work/frames/frame_00005.png" "160 120" white:ge:1 red:ge:1 other:eq:0
    # No balls: black frames.
    run --width 33 --height 7 --balls 0 --ticks 2 --out "$work/empty"
    if [ "$code" -ne 0 ]; then fail "empty scene: code $code: $err"; fi
    expect_png "$work/empty/frame_00002.png" "33 7" black:eq:231
    # The same seed draws the same frames.
    run --width 160 --height 120 --balls 30 --seed 3 --ticks 25 --every 25 --out "$work/again"
    if ! cmp -s "$work/again/frame_00001.png" "$work/frames/frame_00005.png"; then
        fail "the same seed drew a different frame"
    fi
    ;;
sheet)
    run --width 64 --height 48 --balls 10 --ticks 6 --every 2 --columns 2 --sheet "$work/sheet.png"
    if [ "$code" -ne 0 ] || [ -n "$err" ]; then fail "sheet: code $code, stderr $err"; fi
    # Three frames in two columns: 2 x 64 + 4 wide, 2 x 48 + 4 high.
    expect_png "$work/sheet.png" "132 100" other:ge:1
    if [ -n "$(ls -A "$work" | grep -v -e '^sheet.png$' -e '^stdout$' -e '^stderr$')" ]; then
        fail "sheet run left other files: $(ls -A "$work")"
    fi
    ;;
failed-write)
    # Files may not grow past 1 KiB: the first frame (3 MB of pixels) cannot be written. The
    # run must fail with one line and leave neither the frame nor its temporary file.
    mkdir -p "$work/frames"
    (
        trap '' XFSZ
        ulimit -f 1
        exec "$render" --width 1000 --height 1000 --ticks 2 --out "$work/frames"
    ) >"$work/stdout" 2>"$work/stderr"
    code=$?
    err=$(cat "$work/stderr")
    if [ "$code" -eq 0 ]; then fail "a failed write reported success"; fi
    if [ "$code" -ge 128 ]; then fail "a failed write killed the tool: code $code"; fi
    if [ "$(wc -l <"$work/stderr")" -ne 1 ]; then fail "failed write: stderr: $err"; fi
    if [ -n "$(ls -A "$work/frames")" ]; then fail "failed write left: $(ls -A "$work/frames")"; fi
    ;;
*)
    fail "unknown check $check"
    ;;
esac

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "ok: $check"
