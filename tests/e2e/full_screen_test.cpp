#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/full_screen_fixture.h"
#include "tests/e2e/preview_host.h"
#include "tests/e2e/process_windows.h"
#include "tests/e2e/screen_capture.h"
#include "tests/e2e/user_input.h"
#include "tests/e2e/waiting.h"

namespace {

TEST_F(FullScreenTest, CoversTheScreenAsATopmostPopupOwnedByTheForegroundWindow) {
    // Windows starts a saver from whatever window is in front; the saver window belongs to it.
    PreviewHost foreground(100, 100, 200, 150);
    SetForegroundWindow(foreground.Window());
    Pause(50);
    ASSERT_EQ(GetForegroundWindow(), foreground.Window());
    StartSaver();

    EXPECT_EQ(ClassNameOf(window_), "ZOVA.kvr");
    EXPECT_EQ(WindowText(window_), L"Screen Saver");
    const LONG style = GetWindowLongA(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & (WS_CHILD | WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect = {};
    GetWindowRect(window_, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetWindow(window_, GW_OWNER), foreground.Window());

    PressKey(VK_SPACE);
    ExpectEndsWithZero();
}

TEST_F(FullScreenTest, PaintsRedAndWhiteBallsThatMoveOnBlack) {
    StartSaver();
    // Balls wander off the screen and come back, so the capture that first showed balls in both
    // colours is the one compared with a later one.
    const ScreenPixels& first = firstBalls_;
    Pause(150);
    const ScreenPixels later = CaptureScreen();

    for (const ScreenPixels* shot : {&first, &later}) {
        const ColourCensus census = CountColours(*shot);
        EXPECT_EQ(census.foreign, 0) << "pixels neither black nor a ball's colour";
        EXPECT_GT(census.black, static_cast<long>(shot->pixels.size()) / 2);
    }
    // Balls roll several pixels a tick and 150 ms are many ticks: every ball seen has moved by
    // more than its radius, or gone.
    EXPECT_GT(ChangedBallPixels(first, later), 200) << "the balls do not move";

    PressKey(VK_SPACE);
    ExpectEndsWithZero();
}

struct InputCase {
    const char* name;
    std::function<void(FullScreenTest& test)> send;
};

std::string CaseName(const ::testing::TestParamInfo<InputCase>& info) { return info.param.name; }

void Click(DWORD down, DWORD up) {
    SendMouseButtons(down);
    SendMouseButtons(up);
}

const std::vector<InputCase> kEndingInput = {
    {"KeyPress", [](FullScreenTest&) { PressKey(VK_SPACE); }},
    {"AltKey", [](FullScreenTest&) { PressKey(VK_MENU); }},
    {"LeftClick", [](FullScreenTest&) { Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }},
    {"RightClick", [](FullScreenTest&) { Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }},
    {"DiagonalMovementAfterSixMoves", [](FullScreenTest& test) { test.DiagonalMoves(8); }},
};

class EndingInputTest : public FullScreenTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(EndingInputTest, EndsTheSaverWithCodeZero) {
    StartSaver();
    GetParam().send(*this);
    ExpectEndsWithZero();
}

INSTANTIATE_TEST_SUITE_P(Input, EndingInputTest, ::testing::ValuesIn(kEndingInput), CaseName);

// Each case is followed by a key press that must still end the saver: the input reached a live
// window and was ignored, rather than lost.
const std::vector<InputCase> kIgnoredInput = {
    {"MiddleClick", [](FullScreenTest&) { Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP); }},
    {"ButtonReleasesAlone",
     [](FullScreenTest&) {
         SendMouseButtons(MOUSEEVENTF_LEFTUP);
         SendMouseButtons(MOUSEEVENTF_RIGHTUP);
     }},
    {"HorizontalMovement",
     [](FullScreenTest& test) {
         for (int step = 1; step <= 10; ++step) {
             MoveMouseTo(test.CentreX() + (step % 2 ? -1 : 1) * step * 40, test.CentreY());
         }
     }},
    {"VerticalMovement",
     [](FullScreenTest& test) {
         for (int step = 1; step <= 10; ++step) {
             MoveMouseTo(test.CentreX(), test.CentreY() + (step % 2 ? -1 : 1) * step * 30);
         }
     }},
    {"DiagonalJitterOfThreePixels",
     [](FullScreenTest& test) {
         for (int step = 0; step < 10; ++step) {
             const int offset = (step % 2 == 0) ? 3 : -3;
             MoveMouseTo(test.CentreX() + offset, test.CentreY() + offset);
         }
     }},
};

class IgnoredInputTest : public FullScreenTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(IgnoredInputTest, LeavesTheSaverRunning) {
    StartSaver();
    GetParam().send(*this);
    ExpectStillRunning();
    PressKey(VK_SPACE);
    ExpectEndsWithZero();
}

INSTANTIATE_TEST_SUITE_P(Input, IgnoredInputTest, ::testing::ValuesIn(kIgnoredInput), CaseName);

TEST_F(FullScreenTest, MovementOfFourPixelsOnBothAxesEndsIt) {
    StartSaver();
    // Past the first six moves with movement that never ends it.
    for (int step = 1; step <= 8; ++step) MoveMouseTo(CentreX() + (step % 2 ? 3 : -3), CentreY());
    ExpectStillRunning();
    MoveMouseTo(CentreX() + 4, CentreY() - 4);
    ExpectEndsWithZero();
}

TEST_F(FullScreenTest, FirstSixMouseMovesNeverEndIt) {
    StartSaver();
    // The window appearing under the cursor has already given it its first mouse move; five more,
    // each a large diagonal jump, make six.
    DiagonalMoves(5);
    ExpectStillRunning();
    // The seventh, to the corner the fifth did not go to.
    MoveMouseTo(CentreX() + 200, CentreY() + 200);
    ExpectEndsWithZero();
}

}  // namespace
