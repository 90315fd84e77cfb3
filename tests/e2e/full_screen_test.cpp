#include <functional>
#include <string>

#include "tests/e2e/saver_fixture.h"

namespace {

using FullScreenTest = SaverTest;
using StartTest = SaverTest;

TEST_F(FullScreenTest, CoversTheScreenWithMovingBallsAndIgnoresLesserInput) {
    // Windows starts a saver from whatever window is in front; the saver window belongs to it.
    const HostWindow foreground = MakeHostWindow(100, 100, 200, 150);
    SetForegroundWindow(foreground.get());
    Pause(50);
    ASSERT_EQ(GetForegroundWindow(), foreground.get());
    StartFullScreen();
    EXPECT_EQ(WindowText(window_), L"Screen Saver");
    EXPECT_EQ(GetWindowLongA(window_, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CHILD | WS_CAPTION),
              WS_POPUP | WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect = {};
    GetWindowRect(window_, &rect);
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(EqualRect(&rect, &screen));
    EXPECT_EQ(GetWindow(window_, GW_OWNER), foreground.get());

    // Balls leave the screen and come back: the capture that first showed them is compared.
    Pause(150);
    std::vector<uint32_t> later = CaptureScreen();
    for (const std::vector<uint32_t>* shot : {&firstBalls_, &later}) {
        EXPECT_EQ(ForeignPixels(*shot), 0) << "pixels neither black nor a ball's colour";
        EXPECT_GT(CountOf(*shot, 0), static_cast<long>(shot->size()) / 2);
    }
    // Several pixels a tick over many ticks: every ball seen has moved by more than its radius.
    EXPECT_GT(ChangedBallPixels(firstBalls_, later), 200) << "the balls do not move";

    // No close request, even well past the first six moves: the middle button, releases alone,
    // and movement that stays within 3 pixels of the start on one axis.
    Click(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    Click(MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP);
    const POINT moves[] = {{-300, 3},  {300, -3}, {0, 200},  {-3, -300}, {300, 0}, {3, 300},
                           {-300, -3}, {300, 3},  {3, -300}, {-3, 300},  {3, 3},   {-3, -3}};
    for (POINT move : moves) MoveMouseTo(centre_.x + move.x, centre_.y + move.y);
    ExpectStillRunning();
    MoveMouseTo(centre_.x + 4, centre_.y - 4);
    ExpectEndsWithZero();
}

TEST_F(FullScreenTest, FirstSixMouseMovesNeverEndIt) {
    StartFullScreen();
    // The window appearing under the cursor gave it its first move; five large jumps make six.
    DiagonalMoves(5);
    ExpectStillRunning();
    DiagonalMoves(1, 5);
    ExpectEndsWithZero();
}

TEST_F(FullScreenTest, KeysAndLeftOrRightClicksEndItWithCodeZero) {
    const std::pair<const char*, std::function<void()>> inputs[] = {
        {"space", [] { PressKey(VK_SPACE); }},
        {"alt", [] { PressKey(VK_MENU); }},
        {"left click", [] { Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }},
        {"right click", [] { Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.first);
        ASSERT_NO_FATAL_FAILURE(StartFullScreen());
        input.second();
        ExpectEndsWithZero();
    }
}

// A start that must do nothing: it ends by itself with code 0 and never shows a window.
void ExpectSilentStart(const std::string& arguments) {
    SaverProcess start(arguments);
    ASSERT_TRUE(start.Started()) << "cannot start " << start.CommandLine();
    bool showedWindow = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            showedWindow |= !WindowsOf(start.Id()).empty();
            return !start.IsRunning();
        },
        kExitMilliseconds))
        << start.CommandLine() << " did not end by itself";
    EXPECT_EQ(start.ExitCode(), 0u) << start.CommandLine();
    EXPECT_FALSE(showedWindow) << start.CommandLine() << " showed a window";
}

TEST_F(StartTest, SecondStartBesideARunningSaverDoesNothing) {
    UseMprDouble();  // so that a change-password request would be seen
    const HostWindow host =
        MakeHostWindow(300, 200, 152, 112);  // before the saver: it stays on top
    StartFullScreen();
    for (const std::string& arguments : {std::string("/c"), std::string("/a"), std::string("/s"),
                                         std::string(), "/p " + HandleText(host.get())}) {
        ExpectSilentStart(arguments);
    }
    EXPECT_EQ(FindWindowExA(host.get(), nullptr, "ZOVA.kvr", nullptr), nullptr);
    EXPECT_EQ(DoubleRecord(ZOVA_CHANGE_CALLS), 0u);
    // The running saver is untouched: still the one saver window, still ending on a key.
    EXPECT_EQ(FindWindowA("ZOVA.kvr", nullptr), window_);
    PressKey(VK_SPACE);
    ExpectEndsWithZero();
}

TEST_F(StartTest, CommandLineWithoutASwitchDoesNothing) {
    // Not even the settings key is made: the program stops before reading it.
    DeleteKeyTree(kSettingsKey);
    ExpectSilentStart("/x");
    EXPECT_FALSE(KeyExists(kSettingsKey));
}

}  // namespace
