#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "shell/command_line.h"
#include "shell/saver_shell.h"
#include "shell/saver_window.h"
#include "shell/scene_runner.h"
#include "tests/support/windows_support.h"

namespace {

// The display count that ShowCursor raises and lowers, left as it was.
int CursorDisplayCount() {
    const int raised = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return raised - 1;
}

bool TakeQuit() {
    MSG quit;
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 0;
}

class SaverWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        cursorCount_ = CursorDisplayCount();
        ASSERT_TRUE(InstallDouble("PASSWORD.CPL", "PASSWORD.CPL"));
        ArrangeDouble(0);
    }
    void TearDown() override {
        DestroyWindow(shell_->SaverWindow);
        while (TakeQuit()) {
        }
        RegDeleteKeyValueA(HKEY_CURRENT_USER, DesktopKey, PasswordFlag);
    }

    // A saver window with a shell of its own, as WinMain makes it.
    HWND Create(bool preview, HWND parent) {
        shell_ = std::make_unique<SaverShell>();
        shell_->Instance = GetModuleHandleA(nullptr);
        shell_->CurrentMode = preview ? SaverMode::Preview : SaverMode::Run;
        shell_->ParentWindow = parent;
        return CreateSaverWindow(shell_.get(), preview) == 0 ? shell_->SaverWindow : nullptr;
    }
    Scene& FirstScene() { return shell_->Frames.views[0].scene; }
    RasterImage& FirstCanvas() { return shell_->Frames.views[0].canvas; }

    std::unique_ptr<SaverShell> shell_ = std::make_unique<SaverShell>();

    TestWindow host_;
    int cursorCount_ = 0;
};

TEST_F(SaverWindowTest, LivesThroughCreationFramesAndDestructionInEachMode) {
    RECT host;
    GetWindowRect(host_.handle, &host);
    for (bool preview : {false, true}) {
        SCOPED_TRACE(preview ? "preview" : "run");
        SetDword(SettingsKey, "COUNT", preview ? 0x80000000 : 7);  // negative: no balls
        POINT at = {};  // the preview lies at its host's client origin
        SetCursorPos(70, 80);
        if (preview) ClientToScreen(host_.handle, &at);
        // The host's frame counts too: the preview takes its window rectangle, not its client area.
        const SIZE size = preview
                              ? SIZE{host.right - host.left, host.bottom - host.top}
                              : SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

        HWND window = Create(preview, host_.handle);
        ASSERT_NE(window, nullptr);
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_TRUE(r.left == at.x && r.top == at.y && r.right - r.left == size.cx &&
                    r.bottom - r.top == size.cy);
        EXPECT_EQ(
            GetWindowLongA(window, GWL_STYLE),
            LONG((preview ? WS_CHILD : WS_POPUP) | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, preview ? 0 : WS_EX_TOPMOST);
        // The host is the preview's parent and the full-screen window's owner.
        EXPECT_EQ(preview ? GetAncestor(window, GA_PARENT) : GetWindow(window, GW_OWNER),
                  host_.handle);
        // A running full-screen saver stops a second start; a preview child does not.
        EXPECT_EQ(FindWindowA("ZOVA.kvr", nullptr), preview ? nullptr : window);
        // The scene started with the stored count on a 24-bit canvas of the window's size.
        EXPECT_EQ(shell_->Frames.ticksPerWholeCopy, 100u);  // ticks of 10 ms: heals each second
        EXPECT_EQ(FirstScene().ballCount, preview ? 0u : 7u);
        EXPECT_TRUE(FirstCanvas().Width() == size.cx && FirstCanvas().Height() == size.cy &&
                    FirstCanvas().Depth() == 24);
        // Outside the preview the cursor hides, and where it stood is the reference for moves.
        EXPECT_EQ(CursorDisplayCount(), cursorCount_ - !preview);
        EXPECT_TRUE(preview || (shell_->SavedCursorPos.x == 70 && shell_->SavedCursorPos.y == 80));

        // The timer steps the scene at a 10 ms pace; what a frame shows is the blit's test.
        FirstScene().ballCount = 1;
        const ULONGLONG start = GetTickCount64();
        ASSERT_TRUE(WaitUntil([&] { return FirstScene().balls.rollPhase[0] >= 80.0; }, 5000));
        EXPECT_LT(GetTickCount64() - start, 600u) << "ten frames, on a busy machine";

        DestroyWindow(window);
        EXPECT_TRUE(TakeQuit());
        EXPECT_EQ(FirstCanvas().RowPointer(0), nullptr);
        // Shown on destruction in every mode, also where it was never hidden.
        EXPECT_EQ(CursorDisplayCount(), cursorCount_ + preview);
    }
}

TEST_F(SaverWindowTest, CreationFailsWithoutAUsableParent) {
    const HWND stale = TestWindow().handle;
    for (auto [preview, parent] : {std::pair(true, HWND{}), {true, stale}, {false, stale}}) {
        EXPECT_EQ(Create(preview, parent), nullptr) << preview << " " << parent;
        EXPECT_EQ(shell_->SaverWindow, nullptr);
        EXPECT_EQ(CursorDisplayCount(), cursorCount_);
    }
}

TEST_F(SaverWindowTest, RunAsksToCloseOnKeysClicksAndClearMovesAndPreviewIgnoresInput) {
    // Message, wParam, lParam, and whether it ends the full-screen saver. Alt+F4 asks through its
    // key press, not the system command; system commands are swallowed (neither close nor
    // minimise); the mouse move is the seventh, far from where the cursor stood.
    const std::tuple<UINT, WPARAM, LPARAM, bool> cases[] = {
        {WM_KEYDOWN, VK_SPACE, 0x00390001, true},
        {WM_SYSKEYDOWN, VK_F4, 0x203E0001, true},
        {WM_LBUTTONDOWN, MK_LBUTTON, 0, true},
        {WM_RBUTTONDOWN, MK_RBUTTON, 0, true},
        {WM_MOUSEMOVE, 0, MAKELPARAM(40, 40), true},
        {WM_MBUTTONDOWN, MK_MBUTTON, 0, false},
        {WM_LBUTTONUP, 0, 0, false},
        {WM_KEYUP, VK_SPACE, LPARAM(0xC0390001u), false},
        {WM_SYSCOMMAND, SC_CLOSE, 0, false},
        {WM_SYSCOMMAND, SC_MINIMIZE, 0, false},
    };
    for (bool preview : {false, true}) {
        HWND window = Create(preview, host_.handle);
        ASSERT_NE(window, nullptr);
        for (auto [message, wParam, lParam, endsRun] : cases) {
            SCOPED_TRACE(testing::Message()
                         << message << "/" << wParam << (preview ? " preview" : ""));
            shell_->SavedCursorPos = {0, 0};
            shell_->MouseMoveCount = 6;
            EXPECT_EQ(SendMessageA(window, message, wParam, lParam), 0);
            // The request is posted, so handled after the input that caused it.
            MSG close = {};
            const bool posted = PeekMessageA(&close, window, WM_CLOSE, WM_CLOSE, PM_REMOVE);
            EXPECT_EQ(posted, endsRun && !preview);
            EXPECT_TRUE(!preview || shell_->MouseMoveCount == 6);
            ASSERT_TRUE(IsWindow(window));
            EXPECT_FALSE(IsIconic(window));
        }
        DestroyWindow(window);
        TakeQuit();  // else taken for the next window's close request
    }
}

// Refused: the cursor goes back where the saver started and the six-move grace starts again.
TEST_F(SaverWindowTest, CloseAsksForThePasswordOutsideThePreviewOnly) {
    // Preview, desktop password flag, the verifier's answer; whether it closes, whether it asked.
    const std::tuple<bool, bool, uint32_t, bool, bool> cases[] = {
        {false, true, 1, true, true},
        {false, true, 0, false, true},
        {true, true, 0, true, false},
    };
    for (auto [preview, flag, answer, closes, asked] : cases) {
        SCOPED_TRACE(testing::Message() << preview << flag << answer);
        SetDword(DesktopKey, PasswordFlag, flag);
        ArrangeDouble(answer);
        HWND window = Create(preview, host_.handle);
        ASSERT_NE(window, nullptr);
        shell_->SavedCursorPos = {100, 120};
        SetCursorPos(300, 300);
        shell_->MouseMoveCount = 9;
        EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(IsWindow(window), !closes);
        EXPECT_EQ(TakeQuit(), closes);
        EXPECT_EQ(DoubleArgs(), asked ? HandleText(window) : "");
        POINT cursor = {};
        GetCursorPos(&cursor);
        EXPECT_EQ(cursor.x == 100 && cursor.y == 120 && shell_->MouseMoveCount == 0, !closes);
        DestroyWindow(window);
        TakeQuit();
    }
}

// A window whose origin is not the screen's (a monitor left of or above the primary): moves are
// measured from where the cursor stood, in one coordinate system. A display change puts the
// window back over the virtual screen, with new scenes and a fresh grace period.
TEST_F(SaverWindowTest, MovesCountFromTheCursorsPlaceAndADisplayChangeCoversTheScreenAgain) {
    SetDword(SettingsKey, "COUNT", 5);
    HWND window = Create(false, host_.handle);
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, -100, -50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shell_->SavedCursorPos = {20, 30};  // client (120, 80)
    // Client position, whether it ends the saver.
    const std::tuple<int, int, bool> moves[] = {{121, 81, false}, {20, 30, true}, {124, 84, true}};
    for (auto [x, y, ends] : moves) {
        shell_->MouseMoveCount = 6;
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        MSG close = {};
        EXPECT_EQ(PeekMessageA(&close, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0, ends)
            << x << "," << y;
    }
    FirstScene().ballCount = 0;
    shell_->MouseMoveCount = 40;
    SendMessageA(window, WM_DISPLAYCHANGE, 24,
                 MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_TRUE(r.left == GetSystemMetrics(SM_XVIRTUALSCREEN) &&
                r.top == GetSystemMetrics(SM_YVIRTUALSCREEN) &&
                r.right - r.left == GetSystemMetrics(SM_CXVIRTUALSCREEN) &&
                r.bottom - r.top == GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_EQ(FirstScene().ballCount, 5u);
    EXPECT_EQ(shell_->MouseMoveCount, 0);
}

TEST(ParseSaverCommandLine, NamesTheForegroundWindowWhenNoHandleIsGiven) {
    TestWindow window;
    SetForegroundWindow(window.handle);
    Pause(20);
    ASSERT_NE(GetForegroundWindow(), nullptr);
    const std::tuple<const char*, int16_t, HWND> cases[] = {
        {"", Configure, nullptr},  // without asking for the foreground window
        {"/s", SaverMode::Run, GetForegroundWindow()},
    };
    for (auto [commandLine, mode, parent] : cases) {
        HWND parsedParent = reinterpret_cast<HWND>(0x5A5A);
        int16_t parsedMode = 77;
        EXPECT_EQ(ParseSaverCommandLine(commandLine, &parsedParent, &parsedMode), 0);
        EXPECT_TRUE(parsedMode == mode && parsedParent == parent) << commandLine;
    }
}

}  // namespace
