#!/usr/bin/env bash
# Plants known faults in a scratch copy of the project, one at a time, and records which of them
# the test suite catches. The figure must not drop when tests are cut or reworked.
#
# Usage: tools/plant-faults.sh [--tree DIR] [--out FILE] [--only REGEX] [--check]
#   --tree DIR     scratch copy to plant the faults in (a clean git checkout; its build/native and
#                  build/win32 trees are reused). Default: a fresh clone of this checkout's HEAD
#                  under build/, removed afterwards. Never this checkout itself.
#   --out FILE     also write the result lines to FILE, so that two runs compare with diff
#   --only REGEX   only the faults whose line matches REGEX (grep -E)
#   --check        only check that every fault still applies; builds and runs nothing
# Run it under nice -n 15 on a shared machine: it builds and runs the suite once per fault.
#
# Each fault is a line at the end of this file: FILE @@ FIND @@ REPLACEMENT @@ WHAT A USER SEES,
# where FIND occurs exactly once in FILE and \n stands for a line break. Per fault the file is
# changed, the builds that compile it are brought up to date, the tests that can see it run (the
# cheapest first, stopping at the first failure), and the file is put back with a new time stamp,
# so that the next build recompiles it. By folder:
#   raster/ scene/ saver_rules/  native build: every host test (unit tests plain and sanitised,
#   frames/                      tools, X11 hack); then, if none failed, win32 build: unit tests
#                                under Wine, Windows-side and end-to-end tests. The win64 build
#                                compiles the same lines and is not checked.
#   settings/ shell/ res/        win32 build: Windows-side and end-to-end tests.
#   tools/                       native build: tools tests and the icon check.
#   x11/                         native build: the X11 hack's tests.
# Result per fault: CAUGHT (a test failed or timed out), MISSED, N/A (FIND not found exactly once:
# fix the line) or NOBUILD (the fault does not compile: fix the line). Build and test output of
# each fault goes to build/plant-faults-log/ in the tree (the default clone's: in this checkout).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
tree='' out='' only='' check=0
while [ $# -gt 0 ]; do
    case $1 in
    --tree) tree=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --check) check=1; shift ;;
    -h | --help) sed -n '2,/^set /{/^#/s/^# \{0,1\}//p}' "$0"; exit 0 ;;
    *) echo "plant-faults: unknown option $1 (see --help)" >&2; exit 2 ;;
    esac
done
die() { echo "plant-faults: $*" >&2; exit 2; }

if [ -z "$tree" ]; then
    mkdir -p "$here/build"
    scratch=$(mktemp -d "$here/build/plant-faults.XXXXXX")
    trap 'rm -rf "$scratch"' EXIT
    git clone -q "$here" "$scratch/tree"
    tree=$scratch/tree
fi
tree=$(cd "$tree" && pwd)
[ "$tree" != "$here" ] || die "give a scratch copy with --tree, not this checkout"
[ -z "$(git -C "$tree" status --porcelain --untracked-files=no)" ] ||
    die "$tree has uncommitted changes; faults are planted in clean copies only"
[ -z "$out" ] || : >"$out"
# The default clone is removed at the end; its logs stay in this checkout's build folder.
logs=$tree/build/plant-faults-log
[ -z "${scratch:-}" ] || logs=$here/build/plant-faults-log
mkdir -p "$logs"
rm -f "$logs"/*.log

faults() {
    sed -n "/^: <<'__FAULTS__'\$/,/^__FAULTS__\$/p" "$0" | sed '1d;$d' | grep -Ev '^[[:space:]]*(#|$)'
}

# Plants FIND -> REPLACEMENT in FILE when FIND occurs exactly once; prints the number of times
# it occurs.
plant() {
    FIND=$2 REPLACEMENT=$3 WRITE=$4 perl -e '
        my ($path) = @ARGV;
        my ($find, $replacement) = map { (my $v = $_) =~ s/\\n/\n/g; $v } @ENV{qw(FIND REPLACEMENT)};
        open(my $in, "<", $path) or die "$path: $!"; local $/; my $text = <$in>; close $in;
        my ($count, $at) = (0, -1);
        $count++ while ($at = index($text, $find, $at + 1)) >= 0;
        if ($count == 1 && $ENV{WRITE}) {
            substr($text, index($text, $find), length $find) = $replacement;
            open(my $o, ">", $path) or die "$path: $!"; print $o $text; close $o or die;
        }
        print $count;' "$tree/$1"
}

# The builds and tests that can see a fault in FILE: "preset:test-regex" pairs, cheapest first.
stages() {
    case $1 in
    raster/* | scene/* | saver_rules/* | frames/*) echo 'native:^(native|sanitized)\. win32:^win32\.' ;;
    settings/* | shell/* | res/*) echo 'win32:^win32\.(windows|e2e)$' ;;
    tools/*) echo 'native:^native\.(tools\.|zova-render\.|icon-up-to-date$)' ;;
    x11/*) echo 'native:^native\.x11\.' ;;
    *) die "$1: no build sees this folder" ;;
    esac
}

# Builds a preset and runs the tests: 0 all passed, 1 a test failed or timed out, 2 no build.
run_stage() {
    local preset=$1 tests=$2 log=$3 status=0
    cmake --build "$tree/build/$preset" -j 2 >>"$log" 2>&1 </dev/null || return 2
    timeout -k 10 900 ctest --test-dir "$tree/build/native" -R "$tests" -j 2 \
        --stop-on-failure --timeout 120 --output-on-failure >>"$log" 2>&1 </dev/null || status=1
    # A stopped run may leave the Wine fixture's display and server behind.
    [ "$preset" != win32 ] || ctest --test-dir "$tree/build/native" -R '^win32\.wine-teardown$' \
        >>"$log" 2>&1 </dev/null || true
    return $status
}

# windres records no header dependencies: a changed header renews the resource script's time
# stamp too, or resources built from a planted or a restored header would outlive it.
renew() { case $1 in *.h) touch -c "$tree"/res/*.rc ;; esac; }

report() { printf '%-8s %-30s %s\n' "$1" "$2" "$3" | tee -a "${out:-/dev/null}"; }

start=$(date +%s)
if [ $check = 0 ]; then
    for preset in native win32; do
        [ -f "$tree/build/$preset/build.ninja" ] ||
            (cd "$tree" && cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1) ||
            die "cannot configure $preset (see $logs/configure-$preset.log)"
    done
    echo "plant-faults: building and running the unfaulted suite in $tree" >&2
    renew any.h  # resources left from a header of an interrupted run
    for stage in native:'^(native|sanitized)\.' win32:'^win32\.'; do
        run_stage "${stage%%:*}" "${stage#*:}" "$logs/baseline.log" ||
            die "the suite fails without any fault (see $logs/baseline.log)"
    done
fi

pristine=$(mktemp)
current=''
restore() { [ -z "$current" ] || { cat "$pristine" >"$tree/$current"; renew "$current"; }; current=''; }
trap 'restore; rm -f "$pristine"; [ -z "${scratch:-}" ] || rm -rf "$scratch"' EXIT

total=0 caught=0 unusable=0 number=0
while IFS= read -r -u 3 line; do
    file=${line%% @@ *} rest=${line#* @@ }
    find=${rest%% @@ *} rest=${rest#* @@ }
    replacement=${rest%% @@ *} what=${rest#* @@ }
    # Numbered in the whole list, so that a fault keeps its log name under --only.
    number=$((number + 1))
    [ -z "$only" ] || grep -qE -- "$only" <<<"$line" || continue
    total=$((total + 1))
    count=$(plant "$file" "$find" "$replacement" 0)
    if [ "$count" != 1 ]; then
        report N/A "$file" "$what (found $count times)"
        unusable=$((unusable + 1))
        continue
    fi
    [ $check = 1 ] && continue
    log=$logs/$(printf %03d $number).log
    printf '%s\n%s\n=> %s\n' "$file" "$find" "$replacement" >"$log"
    cp "$tree/$file" "$pristine"
    current=$file
    plant "$file" "$find" "$replacement" 1 >/dev/null
    renew "$file"

    status=MISSED
    stagelist=$(stages "$file")
    for stage in $stagelist; do
        run_stage "${stage%%:*}" "${stage#*:}" "$log" && continue
        [ $? = 2 ] && status=NOBUILD || status=CAUGHT
        break
    done
    restore
    report $status "$file" "$what"
    [ $status != CAUGHT ] ||
        grep -m1 -E 'Test +#[0-9]+: .*[*]{3}' "$log" | sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/    by \1/' >&2
    case $status in
    CAUGHT) caught=$((caught + 1)) ;;
    NOBUILD) unusable=$((unusable + 1)) ;;
    esac
done 3< <(faults)

[ $check = 1 ] && { echo "$((total - unusable)) of $total faults apply"; exit $((unusable > 0)); }
elapsed=$(($(date +%s) - start))
echo "plant-faults: $((elapsed / 60)) min $((elapsed % 60)) s; logs in $logs" >&2
[ $unusable = 0 ] || echo "plant-faults: $unusable faults did not apply or build; fix them" >&2
echo "caught $caught of $total" | tee -a "${out:-/dev/null}"
exit $((unusable > 0))

# The fault list, read by faults() above; never run.
# shellcheck disable=SC2317
: <<'__FAULTS__'
# raster: the canvas
raster/raster_image.cpp @@ if (hi >= width_) hi = width_ - 1; @@ if (hi >= width_) hi = width_; @@ span fill runs one pixel past the right edge
raster/raster_image.cpp @@ if (lo < 0) lo = 0;\n    int32_t hi = x0 < x1 ? x1 : x0; @@ int32_t hi = x0 < x1 ? x1 : x0; @@ span starting left of the canvas writes before its row
raster/raster_image.cpp @@ return bits + static_cast<ptrdiff_t>(height_ - 1 - y) * stride_; @@ return bits + static_cast<ptrdiff_t>(y) * stride_; @@ rows kept top-down: the picture shows upside down
raster/raster_image.cpp @@ : (int64_t{width} * depth + 31) / 32; @@ : (int64_t{width} * depth + 31) / 32 + 1; @@ rows padded one word too long: the picture shows skewed
raster/pixel_plane.cpp @@ if (widthBits < 1 || rows < 1) return 0; @@ if (widthBits < 0 || rows < 1) return 0; @@ a canvas zero pixels wide is created
raster/raster_image.cpp @@ if (d < bestDistance) { @@ if (d <= bestDistance) { @@ 8-bit colour search takes the last of equally near palette entries
raster/raster_image.cpp @@ static_cast<uint8_t>((i / 64) * 64)}; @@ static_cast<uint8_t>((i / 64) * 63)}; @@ default palette's blue levels 63 apart, not 64
raster/raster_image.cpp @@ (x0 < x1 ? x1 : x0) >= width_ - 1; @@ (x0 < x1 ? x1 : x0) >= width_ - 2; @@ black fill one column short of the right edge clears whole rows
raster/raster_image.cpp @@ if (y < 0 || y >= height_ || x < 0 || x >= width_) return 0; @@ if (y < 0 || y >= height_ || x < 0 || x > width_) return 0; @@ 8-bit pixel write at x == width lands in the row's padding
raster/raster_image.h @@ p[0] = static_cast<uint8_t>(blue); @@ p[0] = static_cast<uint8_t>(red); @@ 24-bit pixel write puts red into the blue byte

# scene: geometry, generator, start, frame step, changed area, rasteriser, tunables
scene/geometry.cpp @@ + (y2 - y1) * (y2 - y1)); @@ + (y2 - y1) * (y2 - x1)); @@ distance formula takes a wrong term
scene/geometry.cpp @@ return (ax - ox) * (by - oy) - (bx - ox) * (ay - oy); @@ return (bx - ox) * (ay - oy) - (ax - ox) * (by - oy); @@ cross product's sign flipped: balls steer away from their targets
scene/geometry.cpp @@ while (degrees >= 360.0) degrees -= 360.0; @@ while (degrees > 360.0) degrees -= 360.0; @@ 360 degrees not folded to 0
scene/geometry.cpp @@ *red = static_cast<int32_t>(colour & 0xFFu); @@ *red = static_cast<int32_t>((colour >> 16) & 0xFFu); @@ colour split takes red from the blue byte
scene/geometry.cpp @@ Pi * degrees * 0.005555555555555556 @@ Pi * degrees * 0.0055 @@ degrees-to-radians factor rounded: headings 1% off
scene/random.cpp @@ *state = *state * 214013u + 2531011u; @@ *state = *state * 214013u + 2531012u; @@ generator increment off by one
scene/random.cpp @@ return output / 32768.0; @@ return output / 32767.0; @@ generator output can reach 1
scene/scene_start.cpp @@ } while (!IsOffAxis(b.posX[i], w) || !IsOffAxis(b.posY[i], h)); @@ } while (!IsOffAxis(b.posX[i], w) && !IsOffAxis(b.posY[i], h)); @@ a start beside the canvas, not beyond a corner, is accepted
scene/scene_start.cpp @@ if (scene->width < 1 || scene->height < 1) { @@ if (scene->width < 1 && scene->height < 1) { @@ canvas without height: ball placement never ends
scene/scene_start.cpp @@ if (stored >= 0x80000000u) return 0; @@ if (stored > 0x80000000u) return 0; @@ stored count 0x80000000 (negative) gives 30 balls, not none
scene/scene_start.cpp @@ b.targetY[i] = Random01(random) * h; @@ b.targetY[i] = Random01(random) * w; @@ first target's y spread over the width
scene/tunables.h @@ constexpr double SpeedMin = 3.0; @@ constexpr double SpeedMin = 2.0; @@ slowest ball speed 2, not 3
scene/tunables.h @@ constexpr uint32_t NormalOddColour = 0x000000F0; @@ constexpr uint32_t NormalOddColour = 0x00F00000; @@ odd stripes blue instead of red
scene/frame_step.cpp @@ if (Truncate(d) >= int64_t{b.radius[i]} + CollisionMargin) continue; @@ if (Truncate(d) > int64_t{b.radius[i]} + CollisionMargin) continue; @@ contact also at a distance of exactly 22
scene/frame_step.cpp @@ b.heading[i] + 180.0 @@ b.heading[i] + 179.0 @@ turn-back angle off by one degree
scene/frame_step.cpp @@ draw.Ball(i, true); @@ /* draw.Ball(i, true); */ @@ balls that meet do not flash
scene/frame_step.cpp @@ if (j == i) continue; @@ if (j == i) break; @@ contact tested only against balls of lower index
scene/frame_step.cpp @@ if (b.steerCountdown[i] < 1) { @@ if (b.steerCountdown[i] < 0) { @@ steering countdown renews a tick late
scene/frame_step.cpp @@ if (b.steerCountdown[i] % 2 == 0) { @@ if (b.steerCountdown[i] % 2 != 0) { @@ steering turns on odd countdown values
scene/frame_step.cpp @@ b.rollPhase[i] += RollStep; @@ b.rollPhase[i] -= RollStep; @@ balls roll backwards
scene/frame_step.cpp @@ clip(int64_t{x} + r + 1, canvas.Width()), @@ clip(int64_t{x} + r, canvas.Width()), @@ recorded drawing one column short: balls leave a trail
scene/frame_step.cpp @@ if (known && r.right > r.left && r.bottom > r.top) @@ if (known && i > 0 && r.right > r.left && r.bottom > r.top) @@ quiet tick leaves the first ball's last drawing on the canvas
scene/frame_step.cpp @@ AddChangedPair(changed, cleared[i], scene->drawn[i]); @@ AddChangedRect(changed, cleared[i]); @@ this tick's drawings left out of the changed area
scene/frame_step.cpp @@ scene->ballCount = std::min<uint32_t>(scene->ballCount, MaxBalls); @@ /* ball count taken as it is */ @@ ball count above the table reads past it
scene/changed_area.cpp @@ std::max(a.bottom, b.bottom)}; @@ std::min(a.bottom, b.bottom)}; @@ merged rectangle loses the lower one's bottom rows
scene/striped_ball.cpp @@ ink = {{static_cast<uint8_t>(blue), @@ ink = {{static_cast<uint8_t>(red), @@ ball pixels get red in the blue byte
scene/striped_ball.cpp @@ ball.s = std::sin(-h); @@ ball.s = std::sin(h); @@ stripes mirrored about the heading
scene/striped_ball.cpp @@ std::min(halfWidth, width - 1 - centreX); @@ std::min(halfWidth, width - 2 - centreX); @@ ball clipped one column short of the right edge
scene/stripe_value.h @@ return radius >= 0 && radius <= MaxStripedBallRadius && @@ return radius >= 0 && @@ radius whose square overflows is drawn
scene/stripe_bands.cpp @@ bands->odd[i] = (index & 1) != 0; @@ bands->odd[i] = (index & 1) == 0; @@ tabulated stripes swap their colours
scene/stripe_bands.cpp @@ const int64_t index = lower >= 0 ? lower : lower + 1; @@ const int64_t index = lower; @@ negative stripe indices not truncated toward zero

# saver_rules: command-line switch search, mouse rule
saver_rules/switch_search.cpp @@ {"-c", Configure}, @@ {"/s", Run},\n    {"-c", Configure}, @@ /s searched before the Configure switches
saver_rules/switch_search.cpp @@ {"/P", Preview}, @@ {"/P", Run}, @@ /P starts the full-screen saver, not the preview
saver_rules/switch_search.cpp @@ while (IsCSpace(*text)) ++text; @@ /* no white space skipped */ @@ space before the window number not skipped
saver_rules/switch_search.cpp @@ for (; *text >= '0' && *text <= '9'; ++text) { @@ for (; *text > '0' && *text <= '9'; ++text) { @@ a digit 0 ends the number
saver_rules/switch_search.cpp @@ magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit; @@ magnitude = magnitude * 10 + digit; @@ overlong number wraps instead of saturating
saver_rules/switch_search.cpp @@ negative = *text == '-'; @@ negative = false; @@ minus sign of the number ignored
saver_rules/mouse_rule.cpp @@ if (*moveCount <= GraceMoves) return 0; @@ if (*moveCount < GraceMoves) return 0; @@ sixth mouse move ends the saver
saver_rules/mouse_rule.cpp @@ AxisDistance(savedX, x) > Tolerance && AxisDistance(savedY, y) > Tolerance @@ AxisDistance(savedX, x) > Tolerance || AxisDistance(savedY, y) > Tolerance @@ a move along one axis ends the saver
saver_rules/mouse_rule.cpp @@ if (difference & 0x80000000u) difference = 0u - difference; @@ /* distance taken as it is */ @@ moves right or down never end the saver
saver_rules/mouse_rule.cpp @@ constexpr int16_t Tolerance = 3; @@ constexpr int16_t Tolerance = 2; @@ a 3-pixel move ends the saver

# settings: registry store, setup dialog
settings/ball_count_store.cpp @@ RegSetValueExA(key, @@ if (false) RegSetValueExA(key, @@ count never written to the registry
settings/ball_count_store.cpp @@ REG_DWORD, @@ REG_BINARY, @@ count stored as binary, not as a DWORD
settings/ball_count_store.cpp @@ *count = DefaultBallCount; @@ *count = 10; @@ count without a stored value is 10, not 20
settings/ball_count_store.cpp @@ uint32_t stored = 0; @@ uint32_t stored = 0xFFFFFFFFu; @@ stored value shorter than 4 bytes keeps stray high bytes
settings/setup_dialog.cpp @@ MAKELONG(MinSliderBalls, MaxBalls) @@ MAKELONG(MinSliderBalls, MaxBalls - 1) @@ slider stops at 29
settings/setup_dialog.cpp @@ MessageBoxA(nullptr, ZOVA_TEXT_REGISTRY_FAILED, ZOVA_CAPTION_REGISTRY_FAILED, MB_OK); @@ /* no message box */ @@ no message box when the count cannot be stored
settings/setup_dialog.cpp @@ case IDCANCEL: @@ case IDCANCEL:\n                    StoreSlider(dialog);\n                    return TRUE; @@ Cancel stores the slider's count

# shell: WinMain, command line, window, password check, change password, libraries, frame blit
shell/command_line.cpp @@ *mode = Configure;\n        return 0; @@ *mode = Run;\n        return 0; @@ no arguments starts the full-screen saver, not the settings
shell/command_line.cpp @@ : GetForegroundWindow(); @@ : nullptr; @@ switch without a number gets no parent, not the foreground window
shell/win_main.cpp @@ if (FindWindowA(ZOVA_WINDOW_CLASS, nullptr) != nullptr) return 0; @@ /* no second-start check */ @@ second start beside a running saver not stopped
shell/win_main.cpp @@ if (ParseSaverCommandLine(commandLine, &shell->ParentWindow, &shell->CurrentMode) != 0)\n        return 0; @@ ParseSaverCommandLine(commandLine, &shell->ParentWindow, &shell->CurrentMode); @@ command line without a switch opens the settings
shell/win_main.cpp @@ MessageBoxA(nullptr, ZOVA_TEXT_WINDOW_FAILED, ZOVA_CAPTION_INIT_ERROR,\n                            MB_OK | MB_SETFOREGROUND); @@ /* no message box */ @@ no message box when the window cannot be created
shell/win_main.cpp @@ MB_OK | MB_SETFOREGROUND); @@ MB_OK); @@ window-failure box not brought to the foreground
shell/change_password.cpp @@ MessageBoxA(nullptr, ZOVA_TEXT_MPR_MISSING, ZOVA_CAPTION_MPR_MISSING, MB_OK); @@ /* no message box */ @@ no message box when MPR.DLL is missing
shell/change_password.cpp @@ LoadSystemLibrary("MPR.DLL") @@ LoadSystemLibrary("MPR32.DLL") @@ change-password provider looked for under a wrong name
shell/change_password.cpp @@ change("SCRSAVE", owner, 0, nullptr) @@ change("SCRSAVE", nullptr, 0, nullptr) @@ change-password request without its owner window
shell/password_check.cpp @@ if (!flagRead || flag == 0) return MayClose; @@ if (!flagRead) return MayClose; @@ password asked for although the desktop flag is 0
shell/password_check.cpp @@ "ScreenSaveUsePassword" @@ "ScreenSaveUsePasswords" @@ password flag read from a wrong value: never asks
shell/password_check.cpp @@ return accepted ? MayClose : StayOpen; @@ return MayClose; @@ refused password still closes the saver
shell/password_check.cpp @@ if ((*checkDepth)++ != 0) { @@ if ((*checkDepth)++ != 0 && false) { @@ close request during a check starts a second check
shell/password_check.cpp @@ ZOVA_CAPTION_PASSWORD_FAILED, MB_OK); @@ ZOVA_CAPTION_PASSWORD_FAILED, MB_OKCANCEL); @@ password-failure box offers OK and Cancel
shell/password_check.cpp @@ LoadSystemLibrary("PASSWORD.CPL") @@ LoadSystemLibrary("PASSWORD.DLL") @@ password verifier looked for under a wrong name
shell/password_check.cpp @@ BOOL accepted = verify(window); @@ BOOL accepted = verify(window);\n    provider = nullptr; @@ password verifier library never released after a check
shell/system_library.cpp @@ LOAD_LIBRARY_SEARCH_SYSTEM32 @@ 0 @@ provider also looked for in the program's and current folders
shell/system_library.cpp @@ if (path[length - 1] != '\\') path[length++] = '\\'; @@ /* no separator */ @@ system folder and file name joined without a backslash
shell/system_library.cpp @@ std::strpbrk(name, "\\/:") @@ std::strpbrk(name, "\\/") @@ drive-relative library name (C:X.DLL) accepted
shell/saver_window.cpp @@ void OnClose(SaverShell* shell, HWND window) {\n    if (IsPreview(shell)) { @@ void OnClose(SaverShell* shell, HWND window) {\n    if (false) { @@ preview asks for the password when its host closes it
shell/saver_window.cpp @@ GetCursorPos(&shell->SavedCursorPos); @@ /* start position not taken */ @@ cursor's start position not kept: moves are measured from elsewhere
shell/saver_window.cpp @@ SetCursorPos(shell->SavedCursorPos.x, shell->SavedCursorPos.y); @@ /* cursor left where it is */ @@ cursor not put back after a refused close
shell/saver_window.cpp @@ SetCursorPos(shell->SavedCursorPos.x, shell->SavedCursorPos.y);\n        shell->MouseMoveCount = 0; @@ SetCursorPos(shell->SavedCursorPos.x, shell->SavedCursorPos.y); @@ no fresh grace period after a refused close
shell/saver_window.cpp @@ ShowCursor(FALSE); @@ /* cursor left shown */ @@ cursor shown over the full-screen saver
shell/saver_window.cpp @@ SetTimer(window, 0, FrameIntervalMs, nullptr) @@ SetTimer(window, 0, FrameIntervalMs * 10, nullptr) @@ frame timer ten times slower
shell/saver_window.cpp @@ RunStyle = WS_POPUP | WS_VISIBLE @@ RunStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE @@ full-screen window has a title bar and frame
shell/saver_window.cpp @@ isPreview ? 0 : WS_EX_TOPMOST @@ 0 @@ full-screen window not topmost
shell/saver_window.cpp @@ PreviewStyle = WS_CHILD | WS_VISIBLE | @@ PreviewStyle = WS_CHILD | @@ preview window created hidden
shell/monitor_layout.cpp @@ GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)}; @@ GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, HORZRES)}; @@ full-screen window as tall as the screen is wide
shell/saver_window.cpp @@ SaverHeight = static_cast<int16_t>(parentRect.bottom - parentRect.top); @@ SaverHeight = static_cast<int16_t>(parentRect.bottom - parentRect.top - 1); @@ preview one row shorter than its host
shell/saver_window.cpp @@ FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); @@ FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))); @@ erase paints the window white
shell/saver_window.cpp @@ case WM_RBUTTONDOWN: @@ case WM_MBUTTONDOWN: @@ right click does not end the saver (a middle click does)
shell/saver_window.cpp @@ // No system command (close, move, the screen saver itself) acts on this window.\n            return 0; @@ break; @@ system commands (close, move, screen saver) act on the window
shell/scene_runner.cpp @@ int64_t{FrameIntervalMs} * 1000000); @@ int64_t{FrameIntervalMs} * 100000000); @@ painted-over window heals after 100 s, not 1 s
shell/scene_runner.cpp @@ ReadBallCount(&count); @@ /* stored count not read */ @@ stored ball count ignored by the saver
shell/frame_blit.cpp @@ header.biHeight = height; @@ header.biHeight = -height; @@ frames shown upside down
shell/frame_blit.cpp @@ const UINT firstScan = static_cast<UINT>(height - bottom); @@ const UINT firstScan = static_cast<UINT>(height - bottom + 1); @@ copied rows one scan line off
frames/frame_loop.cpp @@ return {0, 0, view.canvas.Width(), view.canvas.Height()}; @@ return {0, 0, view.canvas.Width(), view.canvas.Height() - 1}; @@ whole copy misses the bottom row

# res: resources and texts
res/ui_texts.h @@ "MPR.DLLが見つかりません" @@ "MPR.DLLがありません" @@ MPR-missing message text changed
res/ui_texts.h @@ ZOVA_CAPTION_REGISTRY_FAILED "設定値登録エラー" @@ ZOVA_CAPTION_REGISTRY_FAILED "設定値取得エラー" @@ registry-failure box has the password box's caption
res/ui_texts.h @@ "ウィンドウが作成できません" @@ "ウインドウが作成できません" @@ window-failure text misspelt
res/zova.rc @@ CAPTION "SETUP" @@ CAPTION "Setup" @@ setup dialog caption changed
res/zova.rc @@ LTEXT         "玉の数" @@ LTEXT         "球の数" @@ slider label changed
res/zova.rc @@ "ｷｬﾝｾﾙ" @@ "キャンセル" @@ Cancel button labelled in full-width katakana
res/zova.rc @@ LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT @@ LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US @@ resources stored as English, not Japanese
res/resource_ids.h @@ #define IDI_ZOVA 101 @@ #define IDI_ZOVA 100 @@ icon group 100, not 101

# tools: zova-render, PNG, frame image, icon maker
tools/png_file.cpp @@ image.format = PNG_FORMAT_RGB; @@ image.format = PNG_FORMAT_BGR; @@ PNG channels in BGR order
tools/frame_image.cpp @@ const uint8_t* in = canvas.RowPointer(y); @@ const uint8_t* in = canvas.RowPointer(height - 1 - y); @@ frames written upside down
tools/frame_image.cpp @@ const int64_t rows = (frames + cols - 1) / cols; @@ const int64_t rows = frames / cols; @@ sheet drops its last, partial row
tools/render_main.cpp @@ "frame_%05lld.png" @@ "frame_%04lld.png" @@ frame files numbered with four digits
tools/render_main.cpp @@ FramePath(options.outDir, written + 1) @@ FramePath(options.outDir, written) @@ frame numbering starts at 0
tools/render_options.cpp @@ ->transform(WholeNumber(0, MaxBalls)) @@ ->transform(WholeNumber(0, MaxBalls + 1)) @@ --balls accepts 31
tools/render_options.cpp @@ else if (o->ticks / o->every < 1) @@ else if (o->ticks / o->every < 0) @@ --every beyond --ticks writes nothing and reports success
tools/png_file.cpp @@ if (!ok) std::remove(temporary.c_str()); @@ /* temporary file kept */ @@ a failed write leaves its temporary file behind
tools/make_icon.cpp @@ if (PixelAt(coverage, x, y).red == 0) bits |= 0x80000000u >> x; @@ if (PixelAt(coverage, x, y).red != 0) bits |= 0x80000000u >> x; @@ icon's transparency mask inverted

# frames and the multi-monitor shell: views, copies, healing, display changes
frames/frame_loop.cpp @@ copy.destX = view.place.left + source.left; @@ copy.destX = source.left; @@ every monitor's balls drawn at the left edge of the virtual screen
frames/frame_loop.cpp @@ std::clamp<int64_t>(Second / tick, 1, 1000000) @@ std::clamp<int64_t>(100 * Second / tick, 1, 1000000) @@ painted-over window heals after 100 s, not 1 s
frames/frame_loop.cpp @@ if (heal || changed.whole) { @@ if (true) { @@ every canvas copied whole on every tick
shell/monitor_layout.cpp @@ if (info.dwFlags & MONITORINFOF_PRIMARY) std::swap(e->monitors[0], e->monitors[e->count]); @@ /* primary not put first */ @@ primary monitor's scene not the one a single-monitor saver has
shell/saver_window.cpp @@ ScreenToClient(window, &saved); @@ /* saved position left in screen coordinates */ @@ moves on a window left of or above the primary measured from a wrong place
shell/saver_window.cpp @@ if (!IsPreview(shell)) OnDisplayChange(shell, window); @@ /* display change ignored */ @@ saver keeps the old screen size after a display change
__FAULTS__

# x11: the screen hack
x11/hack_options.cpp @@ if (given->count() > 0) o->target = DrawTarget::GivenWindow; @@ /* given window ignored */ @@ --window-id loses to --root
x11/hack_options.cpp @@ if (arg.size() > 2 && arg[0] == '-' && @@ if (arg.size() > 2 && arg[0] == '+' && @@ one-dash long options refused
x11/hack_options.cpp @@ ->transform(WholeNumber(0, MaxBalls)) @@ ->transform(WholeNumber(0, MaxBalls + 1)) @@ --count 31 accepted
x11/hack_options.cpp @@ if ((given & WidthValue) && (w < 1 || w > 16384)) return false; @@ if ((given & WidthValue) && (w > 16384)) return false; @@ zero-wide geometry accepted
x11/hack_options.cpp @@ o->sharedMemory = noShm->count() == 0; @@ o->sharedMemory = true; @@ --no-shm ignored
x11/hack_window.cpp @@ const bool useHanded = handed != nullptr && *handed != '\0' && @@ const bool useHanded = handed != nullptr && *handed == 'x' && @@ XSCREENSAVER_WINDOW ignored
x11/hack_window.cpp @@ return Fail(2, "no " + what @@ return Fail(1, "no " + what @@ missing window exits 1
x11/hack_window.cpp @@ const Window window = XCreateWindow(display, root, x, y, @@ const Window window = XCreateWindow(display, root, 0, 0, @@ geometry position ignored
x11/stop_signals.cpp @@ constexpr int StopSignals[] = {SIGTERM, SIGINT, SIGHUP}; @@ constexpr int StopSignals[] = {SIGTERM, SIGINT}; @@ SIGHUP not caught
x11/stop_signals.cpp @@ raise(signal);  // held back @@ (void)signal;  // held back @@ a stop signal ends with status 0
x11/hack_loop.cpp @@ if (hack->options.showFps && @@ if (false && hack->options.showFps && @@ --fps shows nothing
x11/fps_overlay.cpp @@ overlay->stale = false;\n} @@ overlay->stale = false;\n    std::fputs("fps\\n", stderr);\n} @@ --fps writes to stderr
x11/fps_overlay.cpp @@ overlay->baselineY = place.bottom - Margin - descent; @@ overlay->baselineY = place.top + Margin + ascent; @@ fps text at the top
x11/hack_loop.cpp @@ const int monitorCount = window.root ? ListMonitors(window.display, monitors) : 0; @@ const int monitorCount = 0; @@ one scene across all heads
x11/hack_loop.cpp @@ window.width = event.xconfigure.width; @@ /* width kept */ @@ resize not followed
x11/hack_loop.cpp @@ hack->closeRequested = true; @@ /* close ignored */ @@ close request ignored
x11/frame_copy.cpp @@ place.down = std::max(8 - top, 0); @@ place.down = std::max(8 - top, 0) + 1; @@ low-depth channels halved
x11/frame_copy.cpp @@ if (d < best) best = d, pixel = format.colourPixel[i]; @@ if (d > best) best = d, pixel = format.colourPixel[i]; @@ 8-bit colours far from nearest
x11/frame_copy.cpp @@ if (segment.shmid >= 0) shmctl(segment.shmid, IPC_RMID, nullptr); @@ /* segment kept */ @@ shared memory left behind
x11/frame_copy.cpp @@ ++format->missingColours; @@ /* not counted */ @@ full colormap not reported
x11/frame_copy.cpp @@ if (image->bits_per_pixel == 32) format.opaque = ~colours; @@ /* no alpha */ @@ 32-bit window pixels transparent
x11/frame_copy.cpp @@ p[2] = opaque | w[1] >> 16 | (w[2] & 0xFF) << 16; @@ p[2] = opaque | w[1] >> 16 | (w[2] & 0xFF) << 8; @@ every fourth pixel miscoloured without SSSE3
x11/hack_loop.cpp @@ if (event.xdestroywindow.window == window.window) MarkHackWindowGone(); @@ /* destroy ignored */ @@ destroyed window not noticed
