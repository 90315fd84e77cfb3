#include "tests/e2e/full_screen_fixture.h"

#include <utility>

#include "tests/e2e/process_windows.h"
#include "tests/e2e/user_input.h"
#include "tests/e2e/waiting.h"

bool WaitForBallsOnScreen(ScreenPixels* shot) {
    ScreenPixels last;
    const bool seen = WaitUntil(
        [&last] {
            last = CaptureScreen();
            const ColourCensus census = CountColours(last);
            // A good part of a ball in both colours, so that stray pixels do not count.
            return census.red > 100 && census.white > 100;
        },
        kStartMilliseconds);
    if (shot != nullptr) *shot = std::move(last);
    return seen;
}

void FullScreenTest::SetUp() {
    ASSERT_TRUE(SetDword(kSettingsKey, "COUNT", 30));
    DeleteValue(kDesktopKey, "ScreenSaveUsePassword");
    // A saver left by an earlier test would turn every start into a silent second start.
    ASSERT_TRUE(WaitUntil([] { return FindWindowA("ZOVA.kvr", nullptr) == nullptr; }, 3000))
        << "a saver window is still open";
    centre_ = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    SetCursorPos(centre_.x, centre_.y);
    Pause(50);
}

void FullScreenTest::StartSaver(const std::string& arguments) {
    saver_ = std::make_unique<SaverProcess>(arguments);
    ASSERT_TRUE(saver_->Started()) << "cannot start " << saver_->CommandLine();
    ASSERT_TRUE(WaitUntil(
        [this] {
            window_ = FindSaverTopLevel(saver_->Id());
            return window_ != nullptr || !saver_->IsRunning();
        },
        kStartMilliseconds));
    ASSERT_NE(window_, nullptr) << saver_->CommandLine() << " made no saver window; exit code "
                                << saver_->ExitCode();
    ASSERT_TRUE(WaitForBallsOnScreen(&firstBalls_)) << "no balls came on screen";
}

void FullScreenTest::ExpectStillRunning() {
    Pause(kStillRunningMilliseconds);
    EXPECT_TRUE(saver_->IsRunning()) << "the saver ended; exit code " << saver_->ExitCode();
    EXPECT_TRUE(IsWindow(window_));
}

void FullScreenTest::ExpectEndsWithZero() {
    ASSERT_TRUE(saver_->WaitForExit(kExitMilliseconds)) << "the saver did not end";
    EXPECT_EQ(saver_->ExitCode(), 0u);
    EXPECT_FALSE(IsWindow(window_));
}

void FullScreenTest::DiagonalMoves(int count, int first) {
    for (int i = first; i < first + count; ++i) {
        const int offset = (i % 2 == 0) ? -200 : 200;
        MoveMouseTo(centre_.x + offset, centre_.y + offset);
    }
}
