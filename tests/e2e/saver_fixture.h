#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "double_install.h"
#include "double_protocol.h"
#include "tests/e2e/desktop.h"
#include "tests/e2e/saver_process.h"

// The current user's registry as the tests arrange and read it; keys are under HKEY_CURRENT_USER.
constexpr const char* kVendorKey = "Software\\Nurvo";
constexpr const char* kSettingsKey = "Software\\Nurvo\\SCREEN SAVER\\ZOVA";
constexpr const char* kDesktopKey = "Control Panel\\desktop";
constexpr const char* kPasswordFlag = "ScreenSaveUsePassword";

inline bool SetDword(const char* key, const char* name, DWORD value) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value) == 0;
}

// False unless the value is there with the type asked for (RRF_RT_REG_DWORD, ...).
template <typename T>
bool ReadValue(const char* key, const char* name, DWORD type, T* value) {
    DWORD size = sizeof *value;
    return RegGetValueA(HKEY_CURRENT_USER, key, name, type, nullptr, value, &size) == 0;
}

inline bool KeyExists(const char* key) {
    HKEY handle = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle);
    RegCloseKey(handle);
    return result == 0;
}

inline void DeleteValue(const char* key, const char* name) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, key, name);
}

inline void DeleteKeyTree(const char* key) {
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

// Generous deadlines, as the machine may be busy; a passing run waits far less.
constexpr DWORD kStartMilliseconds = 10000;       // process up, window made, balls on screen
constexpr DWORD kExitMilliseconds = 5000;         // a close request ends the process
constexpr DWORD kStillRunningMilliseconds = 400;  // time given to input that must change nothing

// What a double has recorded (a DWORD, or a QWORD for handles); 0 when it was never called.
template <typename T = DWORD>
T DoubleRecord(const char* name) {
    T value = 0;
    ReadValue(ZOVA_DOUBLE_KEY, name, sizeof value == 8 ? RRF_RT_REG_QWORD : RRF_RT_REG_DWORD,
              &value);
    return value;
}

// Every test starts with 30 balls (so that some are soon on screen), no desktop password, no saver
// running, no double records and the cursor at the centre of the screen. The prefix is the test
// run's own, so nothing else needs putting back.
class SaverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SetDword(kSettingsKey, "COUNT", 30));
        DeleteValue(kDesktopKey, kPasswordFlag);
        ClearDoubleRecords();
        // A saver left by an earlier test would turn every start into a silent second start.
        ASSERT_TRUE(WaitUntil([] { return !FindWindowA("ZOVA.kvr", nullptr); }, 3000));
        centre_ = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
        SetCursorPos(centre_.x, centre_.y);
        Pause(50);
    }

    void TearDown() override {
        saver_.reset();
        for (ProviderDouble which : installed_) EXPECT_TRUE(RemoveDouble(which));
        EXPECT_TRUE(RemoveDllOverride("zova.scr", "mpr"));
    }

    void Install(ProviderDouble which) {
        ASSERT_TRUE(InstallDouble(which));
        installed_.push_back(which);
    }

    // Wine prefers its own mpr.dll unless the program is told otherwise; "" makes every load fail.
    void UseMprDouble(const char* loadOrder = "native") {
        Install(ProviderDouble::Mpr);
        ASSERT_TRUE(SetDllOverride("zova.scr", "mpr", loadOrder));
    }

    void Start(const std::string& arguments, const std::string& workingDir = "") {
        saver_ = std::make_unique<SaverProcess>(arguments, workingDir);
        window_ = nullptr;
        ASSERT_TRUE(saver_->Started()) << "cannot start " << saver_->CommandLine();
    }

    // Waits for the full-screen window and for balls in both stripe colours on the screen (they
    // start beyond its corners); firstBalls_ keeps the capture that showed them.
    void StartFullScreen(const std::string& arguments = "/s", const std::string& workingDir = "") {
        ASSERT_NO_FATAL_FAILURE(Start(arguments, workingDir));
        ASSERT_TRUE(WaitUntil(
            [this] { return (window_ = FindWindowA("ZOVA.kvr", nullptr)) || !saver_->IsRunning(); },
            kStartMilliseconds));
        ASSERT_NE(window_, nullptr) << "no saver window; exit code " << saver_->ExitCode();
        ASSERT_TRUE(WaitUntil(
            [this] {
                firstBalls_ = CaptureScreen();
                return CountOf(firstBalls_, kRed) > 100 && CountOf(firstBalls_, kWhite) > 100;
            },
            kStartMilliseconds))
            << "no balls came on screen";
    }

    void ExpectStillRunning() {
        Pause(kStillRunningMilliseconds);
        EXPECT_TRUE(saver_->IsRunning()) << "it ended; exit code " << saver_->ExitCode();
        EXPECT_TRUE(IsWindow(window_));
    }

    void ExpectEndsWithZero() {
        ASSERT_TRUE(saver_->WaitForExit(kExitMilliseconds)) << saver_->CommandLine() << " runs on";
        EXPECT_EQ(saver_->ExitCode(), 0u);
        EXPECT_FALSE(IsWindow(window_));
    }

    // Waits for the message box, reads it as the user does and dismisses it.
    void ExpectMessageBox(const std::wstring& caption, const std::wstring& text) {
        const HWND box = WaitForDialog(saver_->Id(), caption, kStartMilliseconds);
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_TRUE(ShowsText(box, text)) << "the box does not say " << text;
        ASSERT_TRUE(DismissMessageBox(box, kExitMilliseconds));
    }

    // Moves to the corners 200 pixels from the centre on both axes, far enough to end the saver
    // once past the first six moves; move i goes up and left when i is even.
    void DiagonalMoves(int count, int first = 0) {
        for (int i = first; i < first + count; ++i) {
            MoveMouseTo(centre_.x + (i % 2 ? 200 : -200), centre_.y + (i % 2 ? 200 : -200));
        }
    }

    std::vector<ProviderDouble> installed_;
    std::unique_ptr<SaverProcess> saver_;
    HWND window_ = nullptr;  // the saver's window, or the dialog that stands for it
    std::vector<uint32_t> firstBalls_;
    POINT centre_ = {};
};
