#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "tests/e2e/full_screen_fixture.h"
#include "tests/e2e/preview_host.h"
#include "tests/e2e/process_windows.h"
#include "tests/e2e/saver_process.h"
#include "tests/e2e/user_input.h"
#include "tests/e2e/waiting.h"

namespace {

// The display control panel's part: a preview area of the panel's own, whose handle goes on the
// command line. Wine shows nothing that another process draws into it, so these tests check what
// can be seen from outside: the child window, its size, its lifetime and its deafness to input.
class PreviewTest : public ::testing::Test {
  protected:
    static constexpr int kLeft = 300;
    static constexpr int kTop = 200;
    static constexpr int kWidth = 152;
    static constexpr int kHeight = 112;

    void SetUp() override {
        ASSERT_TRUE(SetDword(kSettingsKey, "COUNT", 30));
        ASSERT_NE(host_.Window(), nullptr);
        saver_ = std::make_unique<SaverProcess>("/p " + host_.HandleText());
        ASSERT_TRUE(saver_->Started()) << "cannot start " << saver_->CommandLine();
        ASSERT_TRUE(WaitUntil(
            [this] {
                preview_ = FindWindowExA(host_.Window(), nullptr, "ZOVA.kvr", nullptr);
                return preview_ != nullptr || !saver_->IsRunning();
            },
            kStartMilliseconds));
        ASSERT_NE(preview_, nullptr) << "no preview window; exit code " << saver_->ExitCode();
        // The window is found while it is still being created; it is shown at the end of that.
        ASSERT_TRUE(
            WaitUntil([this] { return IsWindowVisible(preview_) != FALSE; }, kStartMilliseconds))
            << "the preview window is not shown";
    }

    void ExpectPreviewStillRunning() {
        Pause(kStillRunningMilliseconds);
        EXPECT_TRUE(saver_->IsRunning()) << "exit code " << saver_->ExitCode();
        EXPECT_TRUE(IsWindow(preview_));
    }

    void ExpectEndsWithZero() {
        ASSERT_TRUE(saver_->WaitForExit(kExitMilliseconds)) << "the preview did not end";
        EXPECT_EQ(saver_->ExitCode(), 0u);
    }

    SavedRegistryValue savedCount_{kSettingsKey, "COUNT"};
    PreviewHost host_{kLeft, kTop, kWidth, kHeight};
    std::unique_ptr<SaverProcess> saver_;
    HWND preview_ = nullptr;
};

TEST_F(PreviewTest, FillsTheHostAsAChildWindow) {
    DWORD owner = 0;
    GetWindowThreadProcessId(preview_, &owner);
    EXPECT_EQ(owner, saver_->Id());
    EXPECT_EQ(GetParent(preview_), host_.Window());
    const LONG style = GetWindowLongA(preview_, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & WS_POPUP);
    EXPECT_FALSE(GetWindowLongA(preview_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect = {};
    GetWindowRect(preview_, &rect);
    EXPECT_EQ(rect.left, kLeft);
    EXPECT_EQ(rect.top, kTop);
    EXPECT_EQ(rect.right - rect.left, kWidth);
    EXPECT_EQ(rect.bottom - rect.top, kHeight);
    // A preview is no full-screen saver: it makes no top-level window.
    EXPECT_EQ(FindSaverTopLevel(saver_->Id()), nullptr);
}

TEST_F(PreviewTest, IgnoresKeysClicksAndMovement) {
    SetForegroundWindow(host_.Window());
    SetCursorPos(kLeft + kWidth / 2, kTop + kHeight / 2);
    Pause(50);
    // Real input over the preview first.
    PressKey(VK_SPACE);
    SendMouseButtons(MOUSEEVENTF_LEFTDOWN);
    SendMouseButtons(MOUSEEVENTF_LEFTUP);
    SendMouseButtons(MOUSEEVENTF_RIGHTDOWN);
    SendMouseButtons(MOUSEEVENTF_RIGHTUP);
    for (int step = 0; step < 10; ++step) {
        const int offset = (step % 2 == 0) ? -40 : 40;
        MoveMouseTo(kLeft + kWidth / 2 + offset, kTop + kHeight / 2 + offset);
    }
    // Then the same messages straight to the preview's window, which cannot miss them.
    PostMessageA(preview_, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(preview_, WM_SYSKEYDOWN, VK_MENU, 1);
    PostMessageA(preview_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(preview_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    for (int step = 0; step < 10; ++step) {
        PostMessageA(preview_, WM_MOUSEMOVE, 0, MAKELPARAM(step * 15, step * 10));
    }
    ExpectPreviewStillRunning();

    PostMessageA(preview_, WM_CLOSE, 0, 0);
    ExpectEndsWithZero();
}

TEST_F(PreviewTest, EndsWhenTheHostCloses) {
    host_.Destroy();
    ExpectEndsWithZero();
}

TEST_F(PreviewTest, DoesNotStopOtherStarts) {
    // Only a full-screen saver is a reason for a new start to step back; the setup dialog opens.
    SaverProcess setup("/c");
    ASSERT_TRUE(setup.Started());
    const HWND dialog = WaitForDialog(setup.Id(), L"SETUP", kStartMilliseconds);
    ASSERT_NE(dialog, nullptr) << "no setup dialog beside a running preview";
    ClickButton(dialog, IDCANCEL);
    ASSERT_TRUE(setup.WaitForExit(kExitMilliseconds));
    EXPECT_EQ(setup.ExitCode(), 0u);

    PostMessageA(preview_, WM_CLOSE, 0, 0);
    ExpectEndsWithZero();
}

}  // namespace
