#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "registry_support.h"
#include "scene/ball_table.h"
#include "scene/canvas.h"
#include "shell/messages.h"
#include "shell/saver_state.h"
#include "shell/saver_window.h"
#include "window_test_support.h"

namespace {

constexpr LONG PreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr LONG RunStyle =
    static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
constexpr COLORREF Red = RGB(240, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

std::string ClassNameOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// One ball that stays where it is put, so that frames show it at a known place.
void PlaceStillBall(double x, double y) {
    BallCount = 1;
    Balls.posX[0] = x;
    Balls.posY[0] = y;
    Balls.radius[0] = BallRadius;
    Balls.speed[0] = 0.0;
    Balls.heading[0] = 45.0;
    Balls.rollPhase[0] = 0.0;
    Balls.steerCountdown[0] = 12;
}

// Every pixel well inside the ball's disc shows one of the two stripe colours, and both appear.
void ExpectBallDrawnAt(HWND window, int centreX, int centreY) {
    int red = 0;
    int white = 0;
    for (int dy = -10; dy <= 10; ++dy) {
        for (int dx = -10; dx <= 10; ++dx) {
            if (dx * dx + dy * dy > 100) continue;
            const COLORREF colour = WindowPixel(window, centreX + dx, centreY + dy);
            ASSERT_TRUE(colour == Red || colour == White)
                << std::hex << colour << " at (" << centreX + dx << ", " << centreY + dy << ")";
            red += colour == Red;
            white += colour == White;
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(white, 0);
}

class SaverWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        Instance = GetModuleHandleA(nullptr);
        cursorCount_ = CursorDisplayCount();
        GetCursorPos(&cursor_);
        // No desktop password: a close request outside the preview is granted.
        DeleteValue("Control Panel\\desktop", "ScreenSaveUsePassword");
        PasswordCheckDepth = 0;
        SaverWindow = nullptr;
        DiscardQuitMessages();
    }

    void TearDown() override {
        if (SaverWindow != nullptr && IsWindow(SaverWindow)) DestroyWindow(SaverWindow);
        PumpMessagesUntil([] { return false; }, 30);
        DiscardQuitMessages();
        RestoreCursorDisplayCount(cursorCount_);
        SetCursorPos(cursor_.x, cursor_.y);
        PasswordCheckDepth = 0;
        CurrentMode = Configure;
        ParentWindow = nullptr;
        SaverWindow = nullptr;
    }

    HWND Create(bool preview, HWND parent) {
        CurrentMode = preview ? SaverMode::Preview : SaverMode::Run;
        ParentWindow = parent;
        return CreateSaverWindow(preview ? 1 : 0) == 0 ? SaverWindow : nullptr;
    }
    HWND CreateRun() { return Create(false, nullptr); }
    HWND CreatePreview() { return Create(true, host_.Handle()); }

    HostWindow host_{WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60, 300, 200};
    int cursorCount_ = 0;
    POINT cursor_ = {};
};

TEST_F(SaverWindowTest, RunWindowCoversTheScreenOnTopOfItsOwner) {
    POINT cursor;
    GetCursorPos(&cursor);
    HWND window = Create(false, host_.Handle());
    ASSERT_NE(window, nullptr);

    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES);
    const int height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    char title[32] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Screen Saver");
    EXPECT_EQ(ClassNameOf(window), ZOVA_WINDOW_CLASS);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), RunStyle);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(window, GW_OWNER), host_.Handle());
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, width);
    EXPECT_EQ(rect.bottom, height);
    // The scene started on a canvas of the window's size, and the frame timer runs.
    EXPECT_EQ(SaverWidth, width);
    EXPECT_EQ(SaverHeight, height);
    EXPECT_EQ(Canvas.Width(), width);
    EXPECT_EQ(Canvas.Height(), height);
    EXPECT_EQ(Canvas.Depth(), 24);
    EXPECT_NE(FrameTimer, 0u);
    // The cursor is hidden, and where it stood is the reference for mouse movement.
    EXPECT_EQ(CursorDisplayCount(), cursorCount_ - 1);
    EXPECT_EQ(SavedCursorPos.x, cursor.x);
    EXPECT_EQ(SavedCursorPos.y, cursor.y);
    // A second start finds it.
    EXPECT_EQ(FindWindowA(ZOVA_WINDOW_CLASS, nullptr), window);
}

TEST_F(SaverWindowTest, PreviewFillsTheWholeWindowRectangleOfItsHost) {
    HWND window = CreatePreview();
    ASSERT_NE(window, nullptr);

    RECT hostRect;
    GetWindowRect(host_.Handle(), &hostRect);
    EXPECT_EQ(GetParent(window), host_.Handle());
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), PreviewStyle);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // The host's frame counts too: the size is that of its window rectangle, not its client.
    EXPECT_EQ(SaverWidth, hostRect.right - hostRect.left);
    EXPECT_EQ(SaverHeight, hostRect.bottom - hostRect.top);
    EXPECT_EQ(Canvas.Width(), SaverWidth);
    EXPECT_EQ(Canvas.Height(), SaverHeight);
    POINT origin = {0, 0};
    MapWindowPoints(window, host_.Handle(), &origin, 1);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    // The cursor stays visible, and a child is no reason to refuse a second start.
    EXPECT_EQ(CursorDisplayCount(), cursorCount_);
    EXPECT_EQ(FindWindowA(ZOVA_WINDOW_CLASS, nullptr), nullptr);
}

TEST_F(SaverWindowTest, ClassIsRegisteredAsTheSaverNeedsIt) {
    ASSERT_NE(CreateRun(), nullptr);
    WNDCLASSA registered = {};
    ASSERT_TRUE(GetClassInfoA(Instance, ZOVA_WINDOW_CLASS, &registered));
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(registered.lpfnWndProc, SaverWindowProc);
    EXPECT_EQ(registered.cbClsExtra + registered.cbWndExtra, 0);
    EXPECT_EQ(registered.hIcon, nullptr);
    EXPECT_EQ(registered.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(registered.hbrBackground, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

TEST_F(SaverWindowTest, CreationFailsWithoutAUsableParent) {
    HWND stale = nullptr;
    {
        HostWindow gone(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
        stale = gone.Handle();
    }
    ASSERT_FALSE(IsWindow(stale));
    struct Case {
        bool preview;
        HWND parent;
    };
    for (const Case& c : {Case{true, nullptr}, Case{true, stale}, Case{false, stale}}) {
        EXPECT_EQ(Create(c.preview, c.parent), nullptr) << c.preview << " " << c.parent;
        EXPECT_EQ(SaverWindow, nullptr);
        EXPECT_EQ(CursorDisplayCount(), cursorCount_);
    }
}

TEST_F(SaverWindowTest, TimerDrawsFramesWithCanvasRowZeroAtTheTop) {
    for (bool preview : {false, true}) {
        HWND window = preview ? CreatePreview() : CreateRun();
        ASSERT_NE(window, nullptr);
        PlaceStillBall(40.0, 30.0);
        // Each tick rolls the ball by 8 degrees.
        ASSERT_TRUE(PumpMessagesUntil([] { return Balls.rollPhase[0] >= 24.0; }, 5000));
        EXPECT_EQ(Balls.posX[0], 40.0);

        // Upside down, the ball would show at the bottom and leave these black.
        ExpectBallDrawnAt(window, 40, 30);
        EXPECT_EQ(WindowPixel(window, 40, 90), Black) << preview;
        EXPECT_EQ(WindowPixel(window, SaverWidth / 2, SaverHeight / 2), Black) << preview;
        DestroyWindow(window);
        DiscardQuitMessages();
    }
}

TEST_F(SaverWindowTest, DestroyEndsTheLoopShowsTheCursorAndFreesTheCanvas) {
    // The preview never hid the cursor, but shows it on destruction too.
    for (bool preview : {false, true}) {
        HWND window = preview ? CreatePreview() : CreateRun();
        ASSERT_NE(window, nullptr);
        ASSERT_GT(Canvas.Height(), 0);
        DestroyWindow(window);
        MSG quit;
        ASSERT_TRUE(TakePostedMessage(nullptr, WM_QUIT, &quit)) << preview;
        EXPECT_EQ(quit.wParam, 0u);
        EXPECT_EQ(Canvas.Height(), 0);
        EXPECT_EQ(Canvas.RowPointer(0), nullptr);
        EXPECT_EQ(CursorDisplayCount(), cursorCount_ + (preview ? 1 : 0)) << preview;
        RestoreCursorDisplayCount(cursorCount_);
    }
}

struct InputCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool endsRun;
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class SaverWindowInput : public SaverWindowTest, public testing::WithParamInterface<InputCase> {
  protected:
    // The seventh mouse move, far from where the cursor stood.
    void ArmMouseRule() {
        SavedCursorPos = {0, 0};
        MouseMoveCount = 6;
    }
};

TEST_P(SaverWindowInput, RunAsksToCloseOnKeysClicksAndClearMoves) {
    const InputCase& c = GetParam();
    HWND window = CreateRun();
    ASSERT_NE(window, nullptr);
    ArmMouseRule();
    const LRESULT result = SendMessageA(window, c.message, c.wParam, c.lParam);
    // The request is posted, so handled after the input that caused it.
    EXPECT_TRUE(IsWindow(window));
    MSG close;
    ASSERT_EQ(TakePostedMessage(window, WM_CLOSE, &close), c.endsRun);
    if (!c.endsRun) return;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(close.wParam, 0u);
    EXPECT_EQ(close.lParam, 0);
    DispatchMessageA(&close);
    EXPECT_FALSE(IsWindow(window));
}

TEST_P(SaverWindowInput, PreviewIgnoresInput) {
    const InputCase& c = GetParam();
    HWND window = CreatePreview();
    ASSERT_NE(window, nullptr);
    ArmMouseRule();
    SendMessageA(window, c.message, c.wParam, c.lParam);
    EXPECT_FALSE(TakePostedMessage(window, WM_CLOSE));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(MouseMoveCount, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SaverWindowInput,
    testing::Values(
        InputCase{"KeyDown", WM_KEYDOWN, VK_SPACE, 0x00390001, true},
        // Alt+F4: the key press itself asks to close, not the system command.
        InputCase{"AltF4", WM_SYSKEYDOWN, VK_F4, 0x203E0001, true},
        InputCase{"LeftButtonDown", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10), true},
        InputCase{"RightButtonDown", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10), true},
        InputCase{"DiagonalMove", WM_MOUSEMOVE, 0, MAKELPARAM(40, 40), true},
        InputCase{"StraightMove", WM_MOUSEMOVE, 0, MAKELPARAM(0, 200), false},
        InputCase{"MiddleButtonDown", WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(10, 10), false},
        InputCase{"LeftButtonUp", WM_LBUTTONUP, 0, MAKELPARAM(10, 10), false},
        InputCase{"KeyUp", WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u), false}),
    [](const testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST_F(SaverWindowTest, SystemCommandsAreSwallowed) {
    for (bool preview : {false, true}) {
        HWND window = preview ? CreatePreview() : CreateRun();
        ASSERT_NE(window, nullptr);
        for (WPARAM command : {SC_CLOSE, SC_MINIMIZE, SC_SCREENSAVE}) {
            EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, command, 0), 0);
        }
        EXPECT_FALSE(TakePostedMessage(window, WM_CLOSE));
        EXPECT_TRUE(IsWindow(window));
        EXPECT_FALSE(IsIconic(window));
        DestroyWindow(window);
        DiscardQuitMessages();
    }
}

TEST_F(SaverWindowTest, RefusedCloseRestoresTheCursorAndTheGrace) {
    HWND window = CreateRun();
    ASSERT_NE(window, nullptr);
    SavedCursorPos = {321, 123};
    MouseMoveCount = 50;
    // A check already running refuses every further request at once.
    PasswordCheckDepth = 1;
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(MouseMoveCount, 0);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 321);
    EXPECT_EQ(cursor.y, 123);

    PasswordCheckDepth = 0;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindowTest, PreviewClosesWithoutAskingForThePassword) {
    HWND window = CreatePreview();
    ASSERT_NE(window, nullptr);
    PasswordCheckDepth = 1;  // a check would refuse
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
