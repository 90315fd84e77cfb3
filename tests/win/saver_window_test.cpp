#include <gtest/gtest.h>

#include <initializer_list>

#include "res/ui_texts.h"
#include "shell/saver_state.h"
#include "shell/saver_window.h"
#include "shell/scene_runner.h"
#include "window_support.h"

namespace {

// The display count that ShowCursor raises and lowers, left as it was; the tests measure from
// where it stood when they started.
int CursorDisplayCount() {
    const int raised = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return raised - 1;
}

COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

class SaverWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        Instance = GetModuleHandleA(nullptr);
        cursorCount_ = CursorDisplayCount();
        GetCursorPos(&cursor_);
        // No desktop password: a close request outside the preview is granted.
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\desktop", "ScreenSaveUsePassword");
    }
    void TearDown() override {
        DestroyWindow(SaverWindow);
        while (TakePostedMessage(nullptr, WM_QUIT)) {
        }
    }

    HWND Create(bool preview, HWND parent) {
        CurrentMode = preview ? SaverMode::Preview : SaverMode::Run;
        ParentWindow = parent;
        SaverWindow = nullptr;
        return CreateSaverWindow(preview) == 0 ? SaverWindow : nullptr;
    }

    TestWindow host_;
    int cursorCount_ = 0;
    POINT cursor_ = {};
};

TEST_F(SaverWindowTest, LivesThroughCreationFramesAndDestructionInEachMode) {
    HDC screen = GetDC(nullptr);
    const RECT screenRect = {0, 0, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
    ReleaseDC(nullptr, screen);
    RECT host;
    GetWindowRect(host_.handle, &host);
    // The host's frame counts too: the preview takes its window rectangle, not its client area.
    const RECT previewRect = {0, 0, host.right - host.left, host.bottom - host.top};

    for (bool preview : {false, true}) {
        SCOPED_TRACE(preview ? "preview" : "run");
        HWND window = Create(preview, host_.handle);
        ASSERT_NE(window, nullptr);
        // Where the window lies, its title and owner are seen from outside by the end-to-end tests.
        const RECT& expected = preview ? previewRect : screenRect;
        EXPECT_EQ(
            GetWindowLongA(window, GWL_STYLE),
            LONG((preview ? WS_CHILD : WS_POPUP) | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        // A running full-screen saver stops a second start; a preview child does not.
        EXPECT_EQ(FindWindowA(ZOVA_WINDOW_CLASS, nullptr), preview ? nullptr : window);
        WNDCLASSA c = {};
        ASSERT_TRUE(GetClassInfoA(Instance, ZOVA_WINDOW_CLASS, &c));
        EXPECT_TRUE(c.style == (CS_HREDRAW | CS_VREDRAW) && c.lpfnWndProc == SaverWindowProc &&
                    c.cbClsExtra == 0 && c.cbWndExtra == 0 && c.hIcon == nullptr &&
                    c.hCursor == LoadCursorA(nullptr, IDC_ARROW) &&
                    c.hbrBackground == GetStockObject(BLACK_BRUSH));
        // The scene started on a 24-bit canvas of the window's size.
        EXPECT_TRUE(SaverWidth == expected.right && SaverHeight == expected.bottom);
        EXPECT_TRUE(SaverCanvas.Width() == expected.right &&
                    SaverCanvas.Height() == expected.bottom);
        EXPECT_EQ(SaverCanvas.Depth(), 24);
        // Outside the preview the cursor hides, and where it stood is the reference for moves.
        EXPECT_EQ(CursorDisplayCount(), cursorCount_ - !preview);
        EXPECT_TRUE(preview || (SavedCursorPos.x == cursor_.x && SavedCursorPos.y == cursor_.y));

        // One still ball: the timer draws it in red and white, canvas row 0 at the top.
        SaverScene.ballCount = 1;
        SaverScene.balls.posX[0] = 40.0;
        SaverScene.balls.posY[0] = 30.0;
        SaverScene.balls.speed[0] = 0.0;
        SaverScene.balls.rollPhase[0] = 0.0;
        ASSERT_TRUE(PumpMessagesUntil([] { return SaverScene.balls.rollPhase[0] >= 24.0; }, 5000));
        std::set<COLORREF> colours;
        for (int i = 0; i < 21 * 21; ++i) {
            const int dx = i % 21 - 10, dy = i / 21 - 10;
            if (dx * dx + dy * dy <= 100) colours.insert(WindowPixel(window, 40 + dx, 30 + dy));
        }
        EXPECT_EQ(colours, (std::set<COLORREF>{RGB(240, 0, 0), RGB(255, 255, 255)}));

        DestroyWindow(window);
        MSG quit;
        ASSERT_TRUE(TakePostedMessage(nullptr, WM_QUIT, &quit));
        EXPECT_EQ(quit.wParam, 0u);
        EXPECT_EQ(SaverCanvas.RowPointer(0), nullptr);
        // Shown on destruction in every mode, also where it was never hidden.
        EXPECT_EQ(CursorDisplayCount(), cursorCount_ + preview);
    }
}

TEST_F(SaverWindowTest, CreationFailsWithoutAUsableParent) {
    HWND stale = TestWindow().handle;
    for (auto [preview, parent] : std::initializer_list<std::pair<bool, HWND>>{
             {true, nullptr}, {true, stale}, {false, stale}}) {
        EXPECT_EQ(Create(preview, parent), nullptr) << preview << " " << parent;
        EXPECT_EQ(SaverWindow, nullptr);
        EXPECT_EQ(CursorDisplayCount(), cursorCount_);
    }
}

TEST_F(SaverWindowTest, RunAsksToCloseOnKeysClicksAndClearMovesAndPreviewIgnoresInput) {
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool endsRun;
    } cases[] = {
        {"key down", WM_KEYDOWN, VK_SPACE, 0x00390001, true},
        // Alt+F4: the key press itself asks to close, not the system command.
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, 0x203E0001, true},
        {"left button", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10), true},
        {"right button", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10), true},
        {"diagonal move", WM_MOUSEMOVE, 0, MAKELPARAM(40, 40), true},
        {"straight move", WM_MOUSEMOVE, 0, MAKELPARAM(0, 200), false},
        {"middle button", WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(10, 10), false},
        {"button up", WM_LBUTTONUP, 0, MAKELPARAM(10, 10), false},
        {"key up", WM_KEYUP, VK_SPACE, LPARAM(0xC0390001u), false},
        // Swallowed: neither closes nor minimises.
        {"system close", WM_SYSCOMMAND, SC_CLOSE, 0, false},
        {"system minimise", WM_SYSCOMMAND, SC_MINIMIZE, 0, false},
    };
    for (bool preview : {false, true}) {
        HWND window = Create(preview, host_.handle);
        ASSERT_NE(window, nullptr);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (preview ? " in the preview" : ""));
            // The seventh mouse move, far from where the cursor stood.
            SavedCursorPos = {0, 0};
            MouseMoveCount = 6;
            const LRESULT result = SendMessageA(window, c.message, c.wParam, c.lParam);
            // The request is posted, so handled after the input that caused it.
            MSG close = {};
            EXPECT_EQ(TakePostedMessage(window, WM_CLOSE, &close), c.endsRun && !preview);
            EXPECT_TRUE(close.wParam == 0 && close.lParam == 0);
            EXPECT_EQ(result, 0);
            EXPECT_TRUE(!preview || MouseMoveCount == 6);
            ASSERT_TRUE(IsWindow(window));
            EXPECT_FALSE(IsIconic(window));
        }
        DestroyWindow(window);
        TakePostedMessage(nullptr, WM_QUIT);  // else taken for the next window's close request
    }
}

}  // namespace
