#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/full_screen_fixture.h"
#include "tests/e2e/process_windows.h"
#include "tests/e2e/registry_state.h"
#include "tests/e2e/saver_process.h"
#include "tests/e2e/user_input.h"
#include "tests/e2e/waiting.h"

namespace {

constexpr int kSliderId = 1000;

// The settings dialog as the control panel's "Settings..." button opens it.
class SetupDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntil([] { return FindWindowA("ZOVA.kvr", nullptr) == nullptr; }, 3000));
    }

    void TearDown() override {
        // A volatile vendor key would make every later start fail to store its settings.
        if (madeVolatileKey_) DeleteKeyTree(kVendorKey);
    }

    // Starts the dialog and waits for it; the slider must be there.
    void OpenDialog(const std::string& arguments = "/c") {
        saver_ = std::make_unique<SaverProcess>(arguments);
        ASSERT_TRUE(saver_->Started()) << "cannot start " << saver_->CommandLine();
        dialog_ = WaitForDialog(saver_->Id(), L"SETUP", kStartMilliseconds);
        ASSERT_NE(dialog_, nullptr) << "no SETUP dialog; exit code " << saver_->ExitCode();
        slider_ = GetDlgItem(dialog_, kSliderId);
        ASSERT_NE(slider_, nullptr);
        EXPECT_EQ(ClassNameOf(slider_), "msctls_trackbar32");
    }

    LRESULT SliderPosition() { return SendMessageA(slider_, TBM_GETPOS, 0, 0); }
    void MoveSlider(int position) { SendMessageA(slider_, TBM_SETPOS, TRUE, position); }

    void ExpectClosesWithZero() {
        ASSERT_TRUE(saver_->WaitForExit(kExitMilliseconds)) << "the dialog did not close";
        EXPECT_EQ(saver_->ExitCode(), 0u);
    }

    void MakeSettingsKeyUnopenable() {
        DeleteKeyTree(kVendorKey);
        ASSERT_TRUE(CreateVolatileKey(kVendorKey));
        madeVolatileKey_ = true;
    }

    SavedRegistryValue savedCount_{kSettingsKey, "COUNT"};
    std::unique_ptr<SaverProcess> saver_;
    HWND dialog_ = nullptr;
    HWND slider_ = nullptr;
    bool madeVolatileKey_ = false;
};

TEST_F(SetupDialogTest, ShowsItsControlsInJapanese) {
    OpenDialog();
    EXPECT_EQ(WindowText(GetDlgItem(dialog_, IDOK)), L"OK");
    EXPECT_EQ(WindowText(GetDlgItem(dialog_, IDCANCEL)), L"ｷｬﾝｾﾙ");
    const std::wstring labels = VisibleDialogsOf(saver_->Id()).at(0).text;
    EXPECT_NE(labels.find(L"玉の数"), std::wstring::npos) << "labels shown: " << labels.size();
    EXPECT_EQ(SendMessageA(slider_, TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageA(slider_, TBM_GETRANGEMAX, 0, 0), 30);
    ClickButton(dialog_, IDCANCEL);
    ExpectClosesWithZero();
}

struct OpeningCase {
    const char* name;
    const char* arguments;
    bool stored;
    DWORD storedCount;
    LRESULT shownPosition;
};

class OpeningTest : public SetupDialogTest, public ::testing::WithParamInterface<OpeningCase> {};

// OK without touching the slider stores what the slider showed.
TEST_P(OpeningTest, ShowsTheStoredCountAndOkStoresIt) {
    const OpeningCase& c = GetParam();
    if (c.stored) {
        ASSERT_TRUE(SetDword(kSettingsKey, "COUNT", c.storedCount));
    } else {
        DeleteKeyTree(kSettingsKey);
    }
    OpenDialog(c.arguments);
    EXPECT_EQ(SliderPosition(), c.shownPosition);
    ClickButton(dialog_, IDOK);
    ExpectClosesWithZero();
    DWORD count = 0;
    ASSERT_TRUE(ReadDword(kSettingsKey, "COUNT", &count));
    EXPECT_EQ(count, static_cast<DWORD>(c.shownPosition));
}

INSTANTIATE_TEST_SUITE_P(Setup, OpeningTest,
                         ::testing::Values(OpeningCase{"NothingStored", "/c", false, 0, 20},
                                           OpeningCase{"Stored13", "/c", true, 13, 13},
                                           OpeningCase{"StoredZeroShowsOne", "/c", true, 0, 1},
                                           OpeningCase{"Stored99ShowsThirty", "/c", true, 99, 30},
                                           OpeningCase{"EmptyCommandLine", "", true, 7, 7},
                                           OpeningCase{"DashUpperC", "-C", true, 25, 25}),
                         [](const ::testing::TestParamInfo<OpeningCase>& info) {
                             return info.param.name;
                         });

TEST_F(SetupDialogTest, OkStoresTheSlidersNewPosition) {
    for (int position : {1, 30, 7}) {
        SCOPED_TRACE(position);
        ASSERT_TRUE(SetDword(kSettingsKey, "COUNT", 20));
        OpenDialog();
        MoveSlider(position);
        ClickButton(dialog_, IDOK);
        ExpectClosesWithZero();
        DWORD count = 0;
        ASSERT_TRUE(ReadDword(kSettingsKey, "COUNT", &count));
        EXPECT_EQ(count, static_cast<DWORD>(position));
    }
}

struct LeavingCase {
    const char* name;
    std::function<void(HWND dialog)> leave;
};

class LeavingTest : public SetupDialogTest, public ::testing::WithParamInterface<LeavingCase> {};

TEST_P(LeavingTest, StoresNothing) {
    ASSERT_TRUE(SetDword(kSettingsKey, "COUNT", 13));
    OpenDialog();
    MoveSlider(5);
    GetParam().leave(dialog_);
    ExpectClosesWithZero();
    DWORD count = 0;
    ASSERT_TRUE(ReadDword(kSettingsKey, "COUNT", &count));
    EXPECT_EQ(count, 13u);
}

INSTANTIATE_TEST_SUITE_P(
    Setup, LeavingTest,
    ::testing::Values(
        LeavingCase{"CancelButton", [](HWND dialog) { ClickButton(dialog, IDCANCEL); }},
        LeavingCase{"EscapeKey",
                    [](HWND dialog) {
                        SetForegroundWindow(dialog);
                        Pause(50);
                        PressKey(VK_ESCAPE);
                    }},
        LeavingCase{"CloseBox",
                    [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const ::testing::TestParamInfo<LeavingCase>& info) { return info.param.name; });

TEST_F(SetupDialogTest, KeyThatCannotBeOpenedGivesAMessageAndKeepsTheDialog) {
    MakeSettingsKeyUnopenable();
    OpenDialog();
    EXPECT_EQ(SliderPosition(), 20);
    MoveSlider(9);
    // Every OK tries again and says so again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        ClickButton(dialog_, IDOK);
        const HWND box = WaitForDialog(saver_->Id(), L"設定値登録エラー", kStartMilliseconds);
        ASSERT_NE(box, nullptr) << "no message box";
        std::wstring text;
        for (const DialogView& view : VisibleDialogsOf(saver_->Id())) {
            if (view.window == box) text = view.text;
        }
        EXPECT_EQ(text, L"レジストリへ登録できません");
        ASSERT_TRUE(DismissMessageBox(box, kExitMilliseconds));
        Pause(100);
        ASSERT_TRUE(saver_->IsRunning());
        EXPECT_TRUE(IsWindowVisible(dialog_));
        EXPECT_EQ(SliderPosition(), 9);
    }
    ClickButton(dialog_, IDCANCEL);
    ExpectClosesWithZero();
    EXPECT_FALSE(KeyExists(kSettingsKey));
}

}  // namespace
