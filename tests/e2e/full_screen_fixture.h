#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "tests/e2e/registry_state.h"
#include "tests/e2e/saver_process.h"
#include "tests/e2e/screen_capture.h"

// Deadlines. Generous, as the machine may be busy; a passing run waits far less.
constexpr DWORD kStartMilliseconds = 10000;       // process up, window made, balls on screen
constexpr DWORD kExitMilliseconds = 5000;         // a close request ends the process
constexpr DWORD kStillRunningMilliseconds = 400;  // time given to input that must change nothing

// Arranges what a full-screen run needs: 30 balls (so that some are soon on screen), no desktop
// password unless a test asks for one, no saver already running, and the cursor at the centre of
// the screen. Stored values are put back afterwards.
class FullScreenTest : public ::testing::Test {
  public:
    // Mouse moves alternating between two corners 200 pixels from the centre on both axes, each
    // far enough from the start to end the saver once past the first six; move i goes to the
    // upper-left corner when i is even.
    void DiagonalMoves(int count, int first = 0);

    // Where the cursor stands when the saver starts.
    int CentreX() const { return centre_.x; }
    int CentreY() const { return centre_.y; }

  protected:
    void SetUp() override;

    // Starts zova.scr with these arguments and waits for its full-screen window and for balls on
    // the screen. Fails the test (and the saver is terminated) when they do not come.
    void StartSaver(const std::string& arguments = "/s");

    // The saver must still run after the input just sent.
    void ExpectStillRunning();
    // The saver must end, with exit code 0.
    void ExpectEndsWithZero();

    SavedRegistryValue savedCount_{kSettingsKey, "COUNT"};
    SavedRegistryValue savedPasswordFlag_{kDesktopKey, "ScreenSaveUsePassword"};
    std::unique_ptr<SaverProcess> saver_;
    HWND window_ = nullptr;
    ScreenPixels firstBalls_;  // the capture in which StartSaver first saw balls
    POINT centre_ = {};
};

// Waits until balls in both stripe colours are on the screen (they start beyond its corners).
// The last capture taken goes to shot when it is not null.
bool WaitForBallsOnScreen(ScreenPixels* shot);
