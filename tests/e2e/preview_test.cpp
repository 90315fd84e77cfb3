#include "tests/e2e/saver_fixture.h"

namespace {

// The display control panel's part: a preview area whose handle goes on the command line. Wine
// shows nothing another process draws into it, so what is checked is what shows from outside:
// the child window, its size, its lifetime and its deafness to input.
class PreviewTest : public SaverTest {
  protected:
    void StartPreview() {
        ASSERT_NO_FATAL_FAILURE(Start("/p " + HandleText(host_.get())));
        // Found while still being created, the window is shown at the end of that.
        ASSERT_TRUE(WaitUntil(
            [this] {
                window_ = FindWindowExA(host_.get(), nullptr, "ZOVA.kvr", nullptr);
                return (window_ && IsWindowVisible(window_)) || !saver_->IsRunning();
            },
            kStartMilliseconds));
        ASSERT_NE(window_, nullptr) << "no preview window; exit code " << saver_->ExitCode();
    }

    HostWindow host_ = MakeHostWindow(300, 200, 152, 112);
};

TEST_F(PreviewTest, FillsItsHostIgnoresInputAndClosesWithoutAPassword) {
    // The control panel closes its preview whenever it likes: no password stands in the way.
    ASSERT_TRUE(SetDword(kDesktopKey, kPasswordFlag, 1));
    StartPreview();
    DWORD owner = 0;
    GetWindowThreadProcessId(window_, &owner);
    EXPECT_EQ(owner, saver_->Id());
    EXPECT_EQ(GetParent(window_), host_.get());
    EXPECT_EQ(GetWindowLongA(window_, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_POPUP),
              WS_CHILD | WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect = {}, hostRect = {};
    GetWindowRect(window_, &rect);
    GetWindowRect(host_.get(), &hostRect);
    EXPECT_TRUE(EqualRect(&rect, &hostRect));
    EXPECT_EQ(FindWindowA("ZOVA.kvr", nullptr), nullptr) << "a top-level saver window";

    // Real input over the preview, then the same messages straight to its window.
    SetForegroundWindow(host_.get());
    SetCursorPos(hostRect.left + 76, hostRect.top + 56);
    Pause(50);
    PressKey(VK_SPACE);
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        PostMessageA(window_, message, 0, MAKELPARAM(10, 10));
    }
    for (int step = 1; step <= 10; ++step) {  // past the six moves a full-screen saver ignores
        PostMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(step * 15, step * 10));
    }
    ExpectStillRunning();

    // A preview is no reason for another start to step back: the setup dialog opens beside it.
    SaverProcess setup("/c");
    const HWND dialog = WaitForDialog(setup.Id(), L"SETUP", kStartMilliseconds);
    ASSERT_NE(dialog, nullptr) << "no setup dialog beside a running preview";
    ClickButton(dialog, IDCANCEL);
    ASSERT_TRUE(setup.WaitForExit(kExitMilliseconds));

    PostMessageA(window_, WM_CLOSE, 0, 0);
    ExpectEndsWithZero();
}

TEST_F(PreviewTest, EndsWhenTheHostCloses) {
    StartPreview();
    host_.reset();
    ExpectEndsWithZero();
}

}  // namespace
