// The end-to-end driver: plays the display control panel and the user for the built zova.scr,
// which it starts in a process of its own exactly as Windows starts a saver.
#include "tests/support/windows_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

std::string SaverPath;  // zova.scr as a Windows path

// Generous deadlines, as the machine may be busy; a passing run waits far less.
constexpr DWORD StartMs = 10000;  // process up, window made, balls on screen
constexpr DWORD ExitMs = 5000;    // a close request ends the process
constexpr DWORD QuietMs = 400;    // time given to input that must change nothing

// One start: the quoted program path, then the arguments. The process ends with the object, so
// that a failed test leaves no saver behind.
struct SaverProcess {
    explicit SaverProcess(const std::string& arguments) {
        std::string line = "\"" + SaverPath + "\"" + (arguments.empty() ? "" : " ") + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info);
    }
    ~SaverProcess() {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    // The exit code once the process has ended within the time, else STILL_ACTIVE.
    DWORD ExitCode(DWORD milliseconds) const {
        WaitUntil([this] { return WaitForSingleObject(info.hProcess, 0) != WAIT_TIMEOUT; },
                  milliseconds);
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
    PROCESS_INFORMATION info = {};
};

// A real key press, one event at a time.
void PressSpace() {
    for (DWORD flags : {0, KEYEVENTF_KEYUP}) {
        INPUT event = {INPUT_KEYBOARD, {.ki = {VK_SPACE, 0, flags, 0, 0}}};
        SendInput(1, &event, sizeof event);
        Pause(60);
    }
}

// The primary screen, or any area of the virtual screen, read back through GDI, as 0xRRGGBB
// pixels row by row from the area's top-left.
std::vector<uint32_t> CaptureScreen(RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN),
                                                 GetSystemMetrics(SM_CYSCREEN)}) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                       {}};
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS,
                                      reinterpret_cast<void**>(&bits), nullptr, 0);
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(bits, bits + size_t(width) * height);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

// Whether captured pixels show balls in both stripe colours.
bool ShowsBalls(const std::vector<uint32_t>& pixels) {
    return std::count(pixels.begin(), pixels.end(), 0xF00000u) > 100 &&
           std::count(pixels.begin(), pixels.end(), 0xFFFFFFu) > 100;
}

// Each test starts with 30 balls (so that some are soon on screen), no desktop password, the
// doubles in the system directory, no saver running and the cursor at the centre of the screen.
class SaverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDword(SettingsKey, "COUNT", 30);
        SetValue(DesktopKey, PasswordFlag, REG_NONE);
        ArrangeDouble(0);
        ASSERT_TRUE(InstallDouble("PASSWORD.CPL", "PASSWORD.CPL") &&
                    InstallDouble("MPR.DLL", "MPR.DLL"));
        // A saver left by an earlier test would turn every start into a silent second start.
        ASSERT_TRUE(WaitUntil([] { return !FindWindowA("ZOVA.kvr", nullptr); }, 3000));
        SetCursorPos(centre_.x, centre_.y);
        Pause(50);
    }

    void Start(const std::string& arguments) { saver_ = std::make_unique<SaverProcess>(arguments); }

    // Waits for the full-screen window and for balls in both stripe colours: they start beyond
    // the screen's corners, so frames are shown as they move.
    void StartFullScreen() {
        Start("/s");
        ASSERT_TRUE(
            WaitUntil([this] { return (window_ = FindWindowA("ZOVA.kvr", nullptr)); }, StartMs));
        ASSERT_TRUE(WaitUntil([] { return ShowsBalls(CaptureScreen()); }, StartMs))
            << "no balls came on screen";
    }

    // Waits for a box or dialog of the saver's with this caption; a null window if none comes.
    SeenBox WaitForBox(const std::wstring& caption) {
        SeenBox found = {};
        WaitUntil(
            [&] {
                for (const SeenBox& box : BoxesOf(saver_->info.dwProcessId)) {
                    if (box.seen.rfind(caption + L"|", 0) == 0) found = box;
                }
                return found.window != nullptr;
            },
            StartMs);
        return found;
    }

    // A start that must do nothing: it ends by itself with 0 and never shows a window.
    static void ExpectSilentStart(const std::string& arguments) {
        SaverProcess start(arguments);
        bool showed = false;
        const auto ended = [&] {
            showed = showed || !WindowsOf(start.info.dwProcessId).empty();
            return start.ExitCode(0) != STILL_ACTIVE;
        };
        EXPECT_TRUE(WaitUntil(ended, ExitMs) && !showed) << arguments;
        EXPECT_EQ(start.ExitCode(0), 0u) << arguments;
    }

    std::unique_ptr<SaverProcess> saver_;
    HWND window_ = nullptr;
    const POINT centre_ = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
};

// Which input ends it is the window's test, and what a frame shows the blit's; here the built
// program shows moving balls and a real key press ends it.
TEST_F(SaverTest, FullScreenShowsMovingBallsAndEndsOnRealInput) {
    ASSERT_NO_FATAL_FAILURE(StartFullScreen());
    PressSpace();
    EXPECT_EQ(saver_->ExitCode(ExitMs), 0u);
}

TEST_F(SaverTest, SecondStartBesideARunningSaverAndAStartWithoutSwitchDoNothing) {
    TestWindow host;  // made before the saver, which stays on top
    StartFullScreen();
    for (std::string arguments : {"/c", "/a", "/s", "", "/p "}) {
        ExpectSilentStart(arguments == "/p " ? arguments + HandleText(host.handle) : arguments);
    }
    EXPECT_EQ(FindWindowExA(host.handle, nullptr, "ZOVA.kvr", nullptr), nullptr);
    EXPECT_EQ(DoubleArgs(), "");  // no change-password request either
    // The running saver is untouched: still the one saver window, still ending on a key.
    EXPECT_EQ(FindWindowA("ZOVA.kvr", nullptr), window_);
    PressSpace();
    EXPECT_EQ(saver_->ExitCode(ExitMs), 0u);

    // Not even the settings key is made: the program stops before reading it.
    DeleteKeyTree(SettingsKey);
    ExpectSilentStart("/x");
    EXPECT_FALSE(KeyExists(SettingsKey));
}

TEST_F(SaverTest, PreviewLivesInTheHostOfAnotherProcessUntilTheHostGoes) {
    auto host = std::make_unique<TestWindow>();
    Start("/p " + HandleText(host->handle));
    // Found while still being created, the window is shown at the end of that.
    EXPECT_TRUE(WaitUntil(
        [&] { return IsWindowVisible(FindWindowExA(host->handle, nullptr, "ZOVA.kvr", nullptr)); },
        StartMs));
    EXPECT_EQ(saver_->ExitCode(QuietMs), DWORD(STILL_ACTIVE));
    host.reset();
    EXPECT_EQ(saver_->ExitCode(ExitMs), 0u);

    // A host that is gone before the preview is made.
    const HWND gone = TestWindow().handle;
    Start("/p " + HandleText(gone));
    const SeenBox box = WaitForBox(L"初期化エラー");
    EXPECT_EQ(box.seen, L"初期化エラー|ウィンドウが作成できません|[]");
    Click(box.window, IDOK);
    EXPECT_EQ(saver_->ExitCode(ExitMs), 0u);
}

// What the dialog shows and stores is its own test; here the configure switch opens it.
TEST_F(SaverTest, ConfigureOpensTheSetupDialogWithoutOwner) {
    Start("/c");
    const HWND dialog = WaitForBox(L"SETUP").window;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    Click(dialog, IDOK);
    EXPECT_EQ(saver_->ExitCode(ExitMs), 0u);
}

TEST_F(SaverTest, ChangePasswordGoesToTheProviderWithTheGivenWindow) {
    TestWindow panel;
    Start("/a " + HandleText(panel.handle));
    EXPECT_EQ(saver_->ExitCode(StartMs), 0u);
    EXPECT_EQ(DoubleArgs(), "SCRSAVE " + HandleText(panel.handle) + " 0 0");
}

// On a desktop of several monitors (the run's Xephyr heads): the saver covers the virtual
// screen, balls roll on every monitor, and input on a monitor other than the primary ends it.
class Monitors : public SaverTest {
  protected:
    void SetUp() override {
        SaverTest::SetUp();
        EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors_));
        ASSERT_GE(monitors_.size(), 2u) << "not a desktop of several monitors";
        // The first monitor that is not the primary, and a point well inside it.
        for (const RECT& m : monitors_)
            if (m.left != 0 || m.top != 0) other_ = m;
        inside_ = {other_.left + 100, other_.top + 100};
    }
    static BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
        reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
        return TRUE;
    }

    std::vector<RECT> monitors_;
    RECT other_ = {};
    POINT inside_ = {};
};

// A key, a click and diagonal moves on a monitor other than the primary each end the saver; the
// balls show on every monitor, and a refused close puts the cursor back on that monitor.
TEST_F(Monitors, CoversEveryMonitorWithBallsAndEndsOnInputOnAnotherOne) {
    const auto click = [] {
        for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            INPUT event = {INPUT_MOUSE, {.mi = {0, 0, 0, flags, 0, 0}}};
            SendInput(1, &event, sizeof event);
            Pause(60);
        }
    };
    // Six mouse-move messages never end the saver; further diagonal moves do.
    const auto diagonalMoves = [this] {
        int moves = 0;
        while (moves < 12 && saver_->ExitCode(0) == STILL_ACTIVE) {
            ++moves;
            SetCursorPos(inside_.x + 10 * moves, inside_.y + 10 * moves);
            Pause(60);
        }
        // The window appearing under the cursor made the first of the six messages that never
        // end it.
        EXPECT_GE(moves, 6) << "ended by the first six mouse-move messages";
    };
    const auto refusedKey = [this] {
        SetDword(DesktopKey, PasswordFlag, 1);    // the verifier refuses
        SetCursorPos(inside_.x + 50, inside_.y);  // along one axis: no close
        Pause(60);
        PressSpace();
        POINT at = {};
        EXPECT_TRUE(WaitUntil(
            [&] { return GetCursorPos(&at) && at.x == inside_.x && at.y == inside_.y; }, ExitMs))
            << at.x << "," << at.y;
        EXPECT_NE(DoubleArgs(), "");
        SetValue(DesktopKey, PasswordFlag, REG_NONE);
        PressSpace();
    };
    const std::function<void()> inputs[] = {PressSpace, click, diagonalMoves, refusedKey};
    for (const auto& input : inputs) {
        SCOPED_TRACE(&input - inputs);
        SetCursorPos(inside_.x, inside_.y);
        ASSERT_NO_FATAL_FAILURE(StartFullScreen());
        // The window covers every monitor, and is up: input sent before it is shown goes
        // elsewhere.
        const auto ballsEverywhere = [this] {
            return std::all_of(monitors_.begin(), monitors_.end(),
                               [](const RECT& m) { return ShowsBalls(CaptureScreen(m)); });
        };
        EXPECT_TRUE(WaitUntil(ballsEverywhere, 3 * StartMs));
        input();
        EXPECT_EQ(saver_->ExitCode(ExitMs), 0u);
    }
}

// In a virtual desktop, whose size a program may change: the saver follows a new size, covering
// all of the screen with balls on it, no more.
TEST_F(SaverTest, DisplayChangeMakesTheSaverCoverTheNewScreen) {
    const auto setSize = [](DWORD width, DWORD height) {
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = width, mode.dmPelsHeight = height;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        return ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr);
    };
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_NO_FATAL_FAILURE(StartFullScreen());
    for (auto [w, h] : {std::pair(width - 224, height - 168), std::pair(width, height)}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        ASSERT_EQ(setSize(w, h), DISP_CHANGE_SUCCESSFUL);
        RECT r = {};
        EXPECT_TRUE(WaitUntil(
            [&] {
                GetWindowRect(window_, &r);
                return r.left == 0 && r.top == 0 && r.right == w && r.bottom == h;
            },
            StartMs))
            << r.right << "x" << r.bottom;
        // The balls roam the new screen: some come near its right and lower edges.
        std::vector<uint32_t> pixels;
        const auto ballsNearEdges = [&] {
            pixels = CaptureScreen({0, 0, w, h});
            bool right = false, bottom = false;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (pixels[size_t(y) * w + x] == 0xF00000u)
                        right |= x >= w - 100, bottom |= y >= h - 100;
            return right && bottom;
        };
        EXPECT_TRUE(WaitUntil(ballsNearEdges, 6 * StartMs));
    }
    PressSpace();
    EXPECT_EQ(saver_->ExitCode(ExitMs), 0u);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2)
        return std::fputs("usage: e2e_driver /unix/path/zova.scr [gtest flags]\n", stderr), 2;
    SaverPath = std::string("Z:") + argv[1];  // the host's root
    std::replace(SaverPath.begin(), SaverPath.end(), '/', '\\');
    // The first use of the window system starts Wine's desktop, which in a new prefix can take
    // seconds; pay that here rather than inside some test's deadline.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    return RUN_ALL_TESTS();
}
