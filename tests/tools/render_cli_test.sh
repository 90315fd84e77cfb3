#!/usr/bin/env bash
# zova-render as a user runs it: a bad command line or a failed write ends with one line on
# stderr and leaves no file; a good run writes the frames asked for, of the size asked for, in
# black and the balls' colours only, or the sheet of them.
# Usage: render_cli_test.sh ZOVA_RENDER WORK_DIR VERSION
set -u
render=$1 work=$2 version=$3
rm -rf "$work" && mkdir -p "$work" || exit 1
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}
# Files may not grow past 1 KiB: the first frame cannot be written whole.
# shellcheck disable=SC2317  # called through refused
small_files() { (trap '' XFSZ && ulimit -f 1 && exec "$@"); }

refused() {
    local label=$1
    shift
    rm -rf "$work/frames"
    "$@" >"$work/out" 2>"$work/err"
    local code=$?
    if [ "$code" -eq 0 ] || [ "$code" -ge 128 ]; then fail "$label: exit code $code"; fi
    if [ "$(wc -l <"$work/err")" -ne 1 ] || ! grep -q '^zova-render: ' "$work/err"; then
        fail "$label: stderr: $(cat "$work/err")"
    fi
    if [ -s "$work/out" ]; then fail "$label: wrote to stdout"; fi
    if [ -n "$(ls -A "$work/frames" 2>/dev/null)" ]; then fail "$label: left files"; fi
}
refused "unknown flag" "$render" --out "$work/frames" --speed 3
refused "not a number" "$render" --out "$work/frames" --width abc
refused "out of range" "$render" --out "$work/frames" --balls 31
refused "nothing to write" "$render" --ticks 3
refused "no frame kept" "$render" --out "$work/frames" --ticks 2 --every 3
refused "failed write" small_files "$render" --width 1000 --height 1000 --out "$work/frames"

if [ "$("$render" --version)" != "zova-render $version" ]; then fail "--version"; fi

# 25 ticks, every 5th kept: frames 1 to 5 and nothing else. Leading zeros do not make octal.
if ! "$render" --width 0160 --height 120 --balls 30 --seed 3 --ticks 025 --every 05 \
    --out "$work/frames" 2>"$work/err"; then
    fail "good run: $(cat "$work/err")"
fi
frames=$(cd "$work/frames" && identify -format '%f %wx%h\n' ./*)
if [ "$frames" != "$(printf 'frame_%05d.png 160x120\n' 1 2 3 4 5)" ]; then
    fail "frames written: $frames"
fi
# By then some of 30 balls are in view on so small a canvas.
colours=$(convert "$work"/frames/*.png -append -format %c histogram:info:- |
    sed 's/.*#\([0-9A-F]\{6\}\).*/\1/' | sort | tr '\n' ' ')
case $colours in
"000000 F00000 "*"FFFFFF ") ;;
*) fail "colours: $colours" ;;
esac
for colour in $colours; do
    case $colour in 000000 | F00000 | FFFFFF | FFC8C8 | F06464) ;; *) fail "colour $colour" ;; esac
done
# Three black frames in two columns, on grey: 2 x 64 + 4 wide, 2 x 48 + 4 high, the third frame at
# the bottom left, the gap and the empty fourth cell grey.
"$render" --width 64 --height 48 --balls 0 --ticks 3 --columns 2 --sheet "$work/sheet.png"
sheet=$(convert "$work/sheet.png" -format '%wx%h %[hex:p{0,99}] %[hex:p{66,0}] %[hex:p{131,99}]' info:)
if [ "$sheet" != "132x100 000000 404040 404040" ]; then fail "sheet: $sheet"; fi
exit $failed
