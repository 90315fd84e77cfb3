#include "tests/e2e/saver_fixture.h"

#include <commctrl.h>

#include <string>

namespace {

// The settings dialog as the control panel's "Settings..." button opens it.
class SetupDialogTest : public SaverTest {
  protected:
    void TearDown() override {
        SaverTest::TearDown();
        // A volatile vendor key would make every later start fail to store its settings.
        if (madeVolatileKey_) DeleteKeyTree(kVendorKey);
    }

    // Starts the dialog; it must show its controls as the user reads them.
    void OpenDialog(const std::string& arguments) {
        ASSERT_NO_FATAL_FAILURE(Start(arguments));
        window_ = WaitForDialog(saver_->Id(), L"SETUP", kStartMilliseconds);
        ASSERT_NE(window_, nullptr) << "no SETUP dialog; exit code " << saver_->ExitCode();
        slider_ = GetDlgItem(window_, 1000);
        EXPECT_EQ(SendMessageA(slider_, TBM_GETRANGEMIN, 0, 0), 1);
        EXPECT_EQ(SendMessageA(slider_, TBM_GETRANGEMAX, 0, 0), 30);
        EXPECT_EQ(WindowText(GetDlgItem(window_, IDOK)), L"OK");
        EXPECT_EQ(WindowText(GetDlgItem(window_, IDCANCEL)), L"ｷｬﾝｾﾙ");
        EXPECT_TRUE(ShowsText(window_, L"玉の数"));
    }

    LRESULT SliderPosition() { return SendMessageA(slider_, TBM_GETPOS, 0, 0); }

    HWND slider_ = nullptr;
    bool madeVolatileKey_ = false;
};

TEST_F(SetupDialogTest, OpensAtTheStoredCountAndOnlyOkStores) {
    const auto ok = [](HWND dialog) { ClickButton(dialog, IDOK); };
    const auto cancel = [](HWND dialog) { ClickButton(dialog, IDCANCEL); };
    const auto escape = [](HWND dialog) {
        SetForegroundWindow(dialog);
        Pause(50);
        PressKey(VK_ESCAPE);
    };
    const auto closeBox = [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); };
    constexpr DWORD kNothing = ~0u;
    const struct {
        const char* arguments;
        DWORD stored;
        LRESULT shown;  // a stored count outside 1..30 shows at the nearer end
        int moveTo;     // 0: the slider stays
        void (*leave)(HWND dialog);
        DWORD storedAfter;
    } cases[] = {
        {"/c", kNothing, 20, 0, ok, 20}, {"/c", 0, 1, 0, ok, 1},
        {"/c", 99, 30, 0, ok, 30},       {"", 7, 7, 30, ok, 30},
        {"-C", 25, 25, 1, ok, 1},        {"/c", 13, 13, 5, cancel, 13},
        {"/c", 13, 13, 5, escape, 13},   {"/c", 13, 13, 5, closeBox, 13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
        if (c.stored == kNothing) {
            DeleteKeyTree(kSettingsKey);
        } else {
            ASSERT_TRUE(SetDword(kSettingsKey, "COUNT", c.stored));
        }
        ASSERT_NO_FATAL_FAILURE(OpenDialog(c.arguments));
        EXPECT_EQ(SliderPosition(), c.shown);
        if (c.moveTo != 0) SendMessageA(slider_, TBM_SETPOS, TRUE, c.moveTo);
        c.leave(window_);
        ExpectEndsWithZero();
        DWORD count = 0;
        EXPECT_TRUE(ReadValue(kSettingsKey, "COUNT", RRF_RT_REG_DWORD, &count));
        EXPECT_EQ(count, c.storedAfter);
    }
}

TEST_F(SetupDialogTest, KeyThatCannotBeOpenedGivesAMessageAndKeepsTheDialog) {
    // The system refuses to create a lasting key below a volatile one.
    DeleteKeyTree(kVendorKey);
    HKEY vendor = nullptr;
    madeVolatileKey_ =
        RegCreateKeyExA(HKEY_CURRENT_USER, kVendorKey, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &vendor, nullptr) == 0;
    ASSERT_TRUE(madeVolatileKey_);
    RegCloseKey(vendor);
    OpenDialog("/c");
    EXPECT_EQ(SliderPosition(), 20);
    SendMessageA(slider_, TBM_SETPOS, TRUE, 9);
    for (int attempt = 0; attempt < 2; ++attempt) {  // every OK tries again and says so again
        ClickButton(window_, IDOK);
        ExpectMessageBox(L"設定値登録エラー", L"レジストリへ登録できません");
        ExpectStillRunning();
        EXPECT_TRUE(IsWindowVisible(window_));
        EXPECT_EQ(SliderPosition(), 9);
    }
    ClickButton(window_, IDCANCEL);
    ExpectEndsWithZero();
    EXPECT_FALSE(KeyExists(kSettingsKey));
}

}  // namespace
