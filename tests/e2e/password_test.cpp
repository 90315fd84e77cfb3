#include "tests/e2e/saver_fixture.h"

namespace {

const std::wstring kCheckFailedCaption = L"設定値取得エラー";
const std::wstring kCheckFailedText = L"パスワードを確認できません";
const std::wstring kDoubleCaption = L"" ZOVA_DOUBLE_CAPTION;

// The full-screen saver with the desktop password switched on and the system's verifier played by
// the PASSWORD.CPL double.
class PasswordTest : public SaverTest {
  protected:
    void SetUp() override {
        SaverTest::SetUp();
        ASSERT_TRUE(SetDword(kDesktopKey, kPasswordFlag, 1));
        Install(ProviderDouble::Password);
    }

    void TearDown() override {
        SaverTest::TearDown();
        if (!planted_.empty()) DeleteFileA(planted_.c_str());
    }

    void Answer(DWORD accepted, bool showDialog = false) {
        ASSERT_TRUE(SetDword(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_ANSWER, accepted));
        ASSERT_TRUE(SetDword(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_SHOW_DIALOG, showDialog));
    }

    static DWORD Calls() { return DoubleRecord(ZOVA_VERIFY_CALLS); }

    std::string planted_;
};

TEST_F(PasswordTest, RefusedPasswordKeepsTheSaverAndPutsTheCursorBack) {
    Answer(0);
    StartFullScreen();
    // Diagonal moves past the first six: the one that asks leaves the cursor far from the start.
    for (int move = 0; move < 10 && Calls() == 0; ++move) DiagonalMoves(1, move);
    ASSERT_EQ(Calls(), 1u) << "no close request reached the password check";
    POINT now = {};
    const auto cursorBack = [&] {
        return GetCursorPos(&now) && now.x == centre_.x && now.y == centre_.y;
    };
    ASSERT_TRUE(WaitUntil(cursorBack, kExitMilliseconds)) << "the cursor was not put back";
    ExpectStillRunning();
    EXPECT_EQ(Calls(), 1u);

    // Moves count afresh: putting the cursor back gave the first, five more make six.
    DiagonalMoves(5);
    Pause(kStillRunningMilliseconds);
    EXPECT_EQ(Calls(), 1u) << "one of the first six moves after the refusal asked";
    DiagonalMoves(1, 5);
    ASSERT_TRUE(WaitUntil([] { return Calls() == 2; }, kExitMilliseconds)) << "the 7th did not ask";
    ExpectStillRunning();

    // Switched off again (0, not absent), nobody is asked.
    ASSERT_TRUE(SetDword(kDesktopKey, kPasswordFlag, 0));
    PressKey(VK_SPACE);
    ExpectEndsWithZero();
    EXPECT_EQ(Calls(), 2u);
}

TEST_F(PasswordTest, CloseRequestDuringACheckIsRefusedWithoutASecondDialog) {
    Answer(1, true);
    StartFullScreen();
    PressKey(VK_SPACE);
    const HWND dialog = WaitForDialog(saver_->Id(), kDoubleCaption, kStartMilliseconds);
    ASSERT_NE(dialog, nullptr) << "the password dialog did not open";
    // The user's input reaches the saver window through the dialog's message loop.
    PostMessageA(window_, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(window_, WM_CLOSE, 0, 0);
    ExpectStillRunning();
    EXPECT_EQ(Calls(), 1u);
    EXPECT_EQ(WindowsOf(saver_->Id(), "#32770"), std::vector<HWND>{dialog}) << "a second box";

    // The password is accepted: the saver closes, having asked for its own window.
    ASSERT_TRUE(DismissMessageBox(dialog, kExitMilliseconds));
    ExpectEndsWithZero();
    EXPECT_EQ(Calls(), 1u);
    EXPECT_EQ(DoubleRecord<uint64_t>(ZOVA_VERIFY_LAST_WINDOW),
              reinterpret_cast<uintptr_t>(window_));
}

TEST_F(PasswordTest, OnlyAVerifierInTheSystemFolderCountsElseEveryRequestGivesAMessage) {
    // A PASSWORD.CPL beside the saver, also its current folder, could be anybody's.
    ASSERT_TRUE(RemoveDouble(ProviderDouble::Password));
    Answer(1);
    const std::string folder = SaverPath().substr(0, SaverPath().find_last_of('\\'));
    planted_ = folder + "\\PASSWORD.CPL";
    ASSERT_TRUE(CopyFileA(DoubleBuildPath(ProviderDouble::Password).c_str(), planted_.c_str(), 0));
    StartFullScreen("/s", folder);
    PressKey(VK_SPACE);
    ExpectMessageBox(kCheckFailedCaption, kCheckFailedText);
    ExpectStillRunning();
    // A click goes to the window under the cursor, whichever window the closed box left in front.
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ExpectMessageBox(kCheckFailedCaption, kCheckFailedText);
    ExpectStillRunning();
    EXPECT_EQ(Calls(), 0u) << "the planted PASSWORD.CPL was loaded";

    DeleteValue(kDesktopKey, kPasswordFlag);
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ExpectEndsWithZero();
}

// The change-password request, with the system's MPR.DLL played by a double.
using ChangePasswordTest = SaverTest;

TEST_F(ChangePasswordTest, HandsTheRequestToTheProviderWithTheGivenWindow) {
    UseMprDouble();
    ASSERT_TRUE(SetDword(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_SHOW_DIALOG, 1));
    const HostWindow panel = MakeHostWindow(100, 100, 300, 200);
    Start("/a " + HandleText(panel.get()));
    window_ = WaitForDialog(saver_->Id(), kDoubleCaption, kStartMilliseconds);
    ASSERT_NE(window_, nullptr) << "the provider's dialog did not open";
    ExpectStillRunning();  // waiting for the provider
    ASSERT_TRUE(DismissMessageBox(window_, kExitMilliseconds));
    ExpectEndsWithZero();
    EXPECT_EQ(DoubleRecord(ZOVA_CHANGE_CALLS), 1u);
    char provider[64] = {};
    EXPECT_TRUE(ReadValue(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_PROVIDER, RRF_RT_REG_SZ, &provider));
    EXPECT_STREQ(provider, "SCRSAVE");
    EXPECT_EQ(DoubleRecord<uint64_t>(ZOVA_CHANGE_PARENT), reinterpret_cast<uintptr_t>(panel.get()));
    EXPECT_EQ(DoubleRecord(ZOVA_CHANGE_RESERVED1), 0u);
    EXPECT_EQ(DoubleRecord<uint64_t>(ZOVA_CHANGE_RESERVED2), 0u);
}

TEST_F(ChangePasswordTest, MissingMprGivesAMessage) {
    UseMprDouble("");
    Start("/a");
    ExpectMessageBox(L"VASK", L"MPR.DLLが見つかりません");
    ExpectEndsWithZero();
    EXPECT_EQ(DoubleRecord(ZOVA_CHANGE_CALLS), 0u);
}

}  // namespace
