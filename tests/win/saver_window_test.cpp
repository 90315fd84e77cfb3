#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "double_install.h"
#include "double_protocol.h"
#include "dll_support.h"
#include "registry_support.h"
#include "scene/ball_table.h"
#include "scene/canvas.h"
#include "shell/messages.h"
#include "shell/saver_state.h"
#include "shell/saver_window.h"
#include "window_test_support.h"

namespace {

constexpr char DesktopKey[] = "Control Panel\\desktop";
constexpr char PasswordFlag[] = "ScreenSaveUsePassword";
constexpr LONG PreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr LONG RunStyle =
    static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
constexpr COLORREF Red = RGB(240, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

struct ScreenSize {
    int width;
    int height;
};

ScreenSize Screen() {
    HDC screen = GetDC(nullptr);
    ScreenSize size = {GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
    ReleaseDC(nullptr, screen);
    return size;
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
    Balls.targetX[0] = x;
    Balls.targetY[0] = y;
}

// Every pixel well inside the ball's disc shows one of the saver's two stripe colours, and
// both appear.
void ExpectBallDrawnAt(HWND window, int centreX, int centreY) {
    int red = 0;
    int white = 0;
    for (int dy = -10; dy <= 10; ++dy) {
        for (int dx = -10; dx <= 10; ++dx) {
            if (dx * dx + dy * dy > 100) continue;
            const COLORREF colour = WindowPixel(window, centreX + dx, centreY + dy);
            EXPECT_TRUE(colour == Red || colour == White)
                << std::hex << colour << " at (" << centreX + dx << ", " << centreY + dy << ")";
            red += colour == Red;
            white += colour == White;
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(white, 0);
}

std::string ClassNameOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TitleOf(HWND window) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

class SaverWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        Instance = GetModuleHandleA(nullptr);
        cursorCount_ = CursorDisplayCount();
        GetCursorPos(&cursor_);
        // No desktop password: a close request outside the preview is granted.
        DeleteValue(DesktopKey, PasswordFlag);
        PasswordCheckDepth = 0;
        ParentWindow = nullptr;
        SaverWindow = nullptr;
        DiscardQuitMessages();
    }

    void TearDown() override {
        if (SaverWindow != nullptr && IsWindow(SaverWindow)) DestroyWindow(SaverWindow);
        PumpMessagesUntil([] { return false; }, 30);
        DiscardQuitMessages();
        RestoreCursorDisplayCount(cursorCount_);
        SetCursorPos(cursor_.x, cursor_.y);
        DeleteValue(DesktopKey, PasswordFlag);
        PasswordCheckDepth = 0;
        CurrentMode = Configure;
        ParentWindow = nullptr;
        SaverWindow = nullptr;
    }

    HWND CreateRun(HWND owner = nullptr) {
        CurrentMode = SaverMode::Run;
        ParentWindow = owner;
        return CreateSaverWindow(0) == 0 ? SaverWindow : nullptr;
    }

    HWND CreatePreview(HWND host) {
        CurrentMode = SaverMode::Preview;
        ParentWindow = host;
        return CreateSaverWindow(1) == 0 ? SaverWindow : nullptr;
    }

    int cursorCount_ = 0;
    POINT cursor_ = {};
};

TEST_F(SaverWindowTest, RunWindowCoversTheScreenOnTopOfItsOwner) {
    HostWindow owner(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100);
    ASSERT_NE(owner.Handle(), nullptr);
    POINT cursor;
    GetCursorPos(&cursor);
    HWND window = CreateRun(owner.Handle());
    ASSERT_NE(window, nullptr);

    const ScreenSize screen = Screen();
    EXPECT_EQ(ClassNameOf(window), ZOVA_WINDOW_CLASS);
    EXPECT_EQ(TitleOf(window), "Screen Saver");
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), RunStyle);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(window, GW_OWNER), owner.Handle());
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, screen.width);
    EXPECT_EQ(rect.bottom, screen.height);
    EXPECT_EQ(SaverWidth, screen.width);
    EXPECT_EQ(SaverHeight, screen.height);
    // The scene started on a canvas of the window's size, and the frame timer runs.
    EXPECT_EQ(Canvas.Width(), screen.width);
    EXPECT_EQ(Canvas.Height(), screen.height);
    EXPECT_EQ(Canvas.Depth(), 24);
    EXPECT_LE(BallCount, static_cast<uint32_t>(MaxBalls));
    EXPECT_NE(FrameTimer, 0u);
    // The cursor is hidden, and where it stood is the reference for mouse movement.
    EXPECT_EQ(CursorDisplayCount(), cursorCount_ - 1);
    EXPECT_EQ(SavedCursorPos.x, cursor.x);
    EXPECT_EQ(SavedCursorPos.y, cursor.y);
    // A second start finds it.
    EXPECT_EQ(FindWindowA(ZOVA_WINDOW_CLASS, nullptr), window);
}

TEST_F(SaverWindowTest, RunWindowWithoutOwner) {
    HWND window = CreateRun(nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
}

TEST_F(SaverWindowTest, PreviewFillsTheWholeWindowRectangleOfItsHost) {
    HostWindow host(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60, 300, 200);
    ASSERT_NE(host.Handle(), nullptr);
    HWND window = CreatePreview(host.Handle());
    ASSERT_NE(window, nullptr);

    RECT hostRect;
    GetWindowRect(host.Handle(), &hostRect);
    EXPECT_EQ(GetParent(window), host.Handle());
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), PreviewStyle);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(SaverWidth, hostRect.right - hostRect.left);
    EXPECT_EQ(SaverHeight, hostRect.bottom - hostRect.top);
    EXPECT_EQ(Canvas.Width(), SaverWidth);
    EXPECT_EQ(Canvas.Height(), SaverHeight);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, SaverWidth);
    EXPECT_EQ(client.bottom, SaverHeight);
    // At the host's client origin.
    POINT origin = {0, 0};
    MapWindowPoints(window, host.Handle(), &origin, 1);
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
    EXPECT_EQ(registered.cbClsExtra, 0);
    EXPECT_EQ(registered.cbWndExtra, 0);
    EXPECT_EQ(registered.hIcon, nullptr);
    EXPECT_EQ(registered.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(registered.hbrBackground, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(registered.lpszMenuName, nullptr);
}

TEST_F(SaverWindowTest, CreatesAgainAfterTheFirstIsGone) {
    HWND first = CreateRun();
    ASSERT_NE(first, nullptr);
    DestroyWindow(first);
    DiscardQuitMessages();
    HWND second = CreateRun();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(IsWindow(second));
}

TEST_F(SaverWindowTest, CreationFailsWithoutAUsableParent) {
    HWND stale = nullptr;
    {
        HostWindow gone(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
        stale = gone.Handle();
    }
    ASSERT_FALSE(IsWindow(stale));

    struct Case {
        const char* name;
        int isPreview;
        HWND parent;
    };
    for (const Case& c :
         {Case{"preview without parent", 1, nullptr}, Case{"preview of a closed window", 1, stale},
          Case{"full screen owned by a closed window", 0, stale}}) {
        CurrentMode = c.isPreview ? SaverMode::Preview : SaverMode::Run;
        ParentWindow = c.parent;
        const int cursorBefore = CursorDisplayCount();
        EXPECT_EQ(CreateSaverWindow(c.isPreview), 1) << c.name;
        EXPECT_EQ(SaverWindow, nullptr) << c.name;
        EXPECT_EQ(FindWindowA(ZOVA_WINDOW_CLASS, nullptr), nullptr) << c.name;
        EXPECT_EQ(CursorDisplayCount(), cursorBefore) << c.name;
    }
}

TEST_F(SaverWindowTest, TimerDrawsFramesIntoTheFullScreenWindow) {
    HWND window = CreateRun();
    ASSERT_NE(window, nullptr);
    PlaceStillBall(200.0, 150.0);
    // Each tick rolls the ball by 8 degrees.
    ASSERT_TRUE(PumpMessagesUntil([] { return Balls.rollPhase[0] >= 24.0; }, 5000));
    EXPECT_EQ(Balls.posX[0], 200.0);

    ExpectBallDrawnAt(window, 200, 150);
    // Canvas row 0 is the top of the window: nothing at the mirrored place.
    EXPECT_EQ(WindowPixel(window, 200, SaverHeight - 1 - 150), Black);
    EXPECT_EQ(WindowPixel(window, SaverWidth - 100, SaverHeight - 100), Black);
}

TEST_F(SaverWindowTest, TimerDrawsFramesIntoThePreview) {
    HostWindow host(WS_POPUP | WS_VISIBLE, 100, 100, 160, 120);
    HWND window = CreatePreview(host.Handle());
    ASSERT_NE(window, nullptr);
    PlaceStillBall(40.0, 30.0);
    ASSERT_TRUE(PumpMessagesUntil([] { return Balls.rollPhase[0] >= 24.0; }, 5000));

    ExpectBallDrawnAt(window, 40, 30);
    EXPECT_EQ(WindowPixel(window, 40, 120 - 1 - 30), Black);
    EXPECT_EQ(WindowPixel(window, 130, 100), Black);
}

struct DestroyCase {
    const char* name;
    bool preview;
    int cursorChange;  // the preview never hid the cursor, but shows it on destruction too
};

void PrintTo(const DestroyCase& c, std::ostream* os) { *os << c.name; }

class SaverWindowDestroy : public SaverWindowTest,
                           public testing::WithParamInterface<DestroyCase> {};

TEST_P(SaverWindowDestroy, EndsTheLoopAndFreesTheCanvas) {
    HostWindow host(WS_POPUP | WS_VISIBLE, 0, 0, 120, 90);
    HWND window = GetParam().preview ? CreatePreview(host.Handle()) : CreateRun();
    ASSERT_NE(window, nullptr);
    ASSERT_GT(Canvas.Height(), 0);

    DestroyWindow(window);
    MSG quit;
    ASSERT_TRUE(TakePostedMessage(nullptr, WM_QUIT, &quit));
    EXPECT_EQ(quit.wParam, 0u);
    EXPECT_EQ(Canvas.Height(), 0);
    EXPECT_EQ(Canvas.RowPointer(0), nullptr);
    EXPECT_EQ(CursorDisplayCount(), cursorCount_ + GetParam().cursorChange);
}

INSTANTIATE_TEST_SUITE_P(Modes, SaverWindowDestroy,
                         testing::Values(DestroyCase{"Run", false, 0},
                                         DestroyCase{"Preview", true, 1}),
                         [](const testing::TestParamInfo<DestroyCase>& info) {
                             return std::string(info.param.name);
                         });

struct InputCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool endsRun;
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

const InputCase Inputs[] = {
    {"KeyDown", WM_KEYDOWN, VK_SPACE, 0x00390001, true},
    // Alt+F4: the key press itself ends the saver, not the system command.
    {"AltF4", WM_SYSKEYDOWN, VK_F4, 0x203E0001, true},
    {"LeftButtonDown", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10), true},
    {"RightButtonDown", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10), true},
    {"MiddleButtonDown", WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(10, 10), false},
    {"LeftButtonUp", WM_LBUTTONUP, 0, MAKELPARAM(10, 10), false},
    {"RightButtonUp", WM_RBUTTONUP, 0, MAKELPARAM(10, 10), false},
    {"KeyUp", WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u), false},
};

class SaverWindowInput : public SaverWindowTest, public testing::WithParamInterface<InputCase> {};

TEST_P(SaverWindowInput, RunClosesOnKeysAndClicks) {
    const InputCase& c = GetParam();
    HWND window = CreateRun();
    ASSERT_NE(window, nullptr);
    const LRESULT result = SendMessageA(window, c.message, c.wParam, c.lParam);
    MSG close;
    const bool posted = TakePostedMessage(window, WM_CLOSE, &close);
    EXPECT_EQ(posted, c.endsRun);
    EXPECT_TRUE(IsWindow(window));
    if (!posted) return;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(close.wParam, 0u);
    EXPECT_EQ(close.lParam, 0);
    // Without a desktop password the request is granted.
    DispatchMessageA(&close);
    EXPECT_FALSE(IsWindow(window));
}

TEST_P(SaverWindowInput, PreviewIgnoresInput) {
    const InputCase& c = GetParam();
    HostWindow host(WS_POPUP | WS_VISIBLE, 0, 0, 120, 90);
    HWND window = CreatePreview(host.Handle());
    ASSERT_NE(window, nullptr);
    SendMessageA(window, c.message, c.wParam, c.lParam);
    EXPECT_FALSE(TakePostedMessage(window, WM_CLOSE));
    EXPECT_TRUE(IsWindow(window));
}

INSTANTIATE_TEST_SUITE_P(Messages, SaverWindowInput, testing::ValuesIn(Inputs),
                         [](const testing::TestParamInfo<InputCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(SaverWindowTest, RunClosesOnTheSeventhClearMouseMove) {
    HWND window = CreateRun();
    ASSERT_NE(window, nullptr);
    SavedCursorPos = {100, 100};
    MouseMoveCount = 0;
    for (int move = 1; move <= 6; ++move) {
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(500, 500));
        EXPECT_FALSE(TakePostedMessage(window, WM_CLOSE)) << move;
    }
    // Straight down, however far: one axis stays put.
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(100, 700));
    EXPECT_FALSE(TakePostedMessage(window, WM_CLOSE));
    EXPECT_EQ(MouseMoveCount, 7);
    EXPECT_EQ(SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(104, 96)), 0);
    EXPECT_TRUE(TakePostedMessage(window, WM_CLOSE));
}

TEST_F(SaverWindowTest, PreviewDoesNotCountMouseMoves) {
    HostWindow host(WS_POPUP | WS_VISIBLE, 0, 0, 120, 90);
    HWND window = CreatePreview(host.Handle());
    ASSERT_NE(window, nullptr);
    SavedCursorPos = {0, 0};
    MouseMoveCount = 100;
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
    EXPECT_FALSE(TakePostedMessage(window, WM_CLOSE));
    EXPECT_EQ(MouseMoveCount, 100);
}

TEST_F(SaverWindowTest, SystemCommandsAreSwallowed) {
    HostWindow host(WS_POPUP | WS_VISIBLE, 0, 0, 120, 90);
    for (bool preview : {false, true}) {
        HWND window = preview ? CreatePreview(host.Handle()) : CreateRun();
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
    // Six moves of grace again.
    for (int move = 1; move <= 6; ++move) {
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(500, 500));
    }
    EXPECT_FALSE(TakePostedMessage(window, WM_CLOSE));

    PasswordCheckDepth = 0;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindowTest, PreviewClosesWithoutAskingForThePassword) {
    HostWindow host(WS_POPUP | WS_VISIBLE, 0, 0, 120, 90);
    HWND window = CreatePreview(host.Handle());
    ASSERT_NE(window, nullptr);
    PasswordCheckDepth = 1;  // a check would refuse
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SaverWindowTest, DesktopPasswordDecidesTheClose) {
    ClearDoubleRecords();
    ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
    SetRawValue(DesktopKey, PasswordFlag, REG_DWORD, DwordBytes(1));
    HWND window = CreateRun();
    ASSERT_NE(window, nullptr);

    ArrangeVerifier(0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(DoubleDword(ZOVA_VERIFY_CALLS), 1u);
    EXPECT_EQ(DoubleQword(ZOVA_VERIFY_LAST_WINDOW),
              static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window)));

    ArrangeVerifier(1);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(DoubleDword(ZOVA_VERIFY_CALLS), 2u);

    RemoveDouble(ProviderDouble::Password);
    ClearDoubleRecords();
}

}  // namespace
