#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "double_install.h"
#include "double_protocol.h"
#include "tests/e2e/driver_config.h"
#include "tests/e2e/full_screen_fixture.h"
#include "tests/e2e/preview_host.h"
#include "tests/e2e/process_windows.h"
#include "tests/e2e/registry_state.h"
#include "tests/e2e/user_input.h"
#include "tests/e2e/waiting.h"

namespace {

const std::wstring kCheckFailedCaption = L"設定値取得エラー";
const std::wstring kCheckFailedText = L"パスワードを確認できません";
const std::wstring kDoubleCaption = L"" ZOVA_DOUBLE_CAPTION;

DWORD VerifyCalls() {
    DWORD calls = 0;
    ReadDword(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_CALLS, &calls);
    return calls;
}

bool CursorAt(POINT expected) {
    POINT now = {};
    GetCursorPos(&now);
    return now.x == expected.x && now.y == expected.y;
}

// The full-screen saver with the desktop password switched on and the system's password verifier
// played by the PASSWORD.CPL double.
class PasswordTest : public FullScreenTest {
  protected:
    void SetUp() override {
        FullScreenTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ClearDoubleRecords();
        ASSERT_TRUE(SetDword(kDesktopKey, "ScreenSaveUsePassword", 1));
        ASSERT_TRUE(InstallDouble(ProviderDouble::Password));
    }

    void TearDown() override {
        // Before the saved flag comes back: nothing may be left that asks for a password.
        saver_.reset();
        EXPECT_TRUE(RemoveDouble(ProviderDouble::Password));
        ClearDoubleRecords();
    }

    void Answer(DWORD accepted, bool showDialog = false) {
        ASSERT_TRUE(SetDword(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_ANSWER, accepted));
        ASSERT_TRUE(SetDword(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_SHOW_DIALOG, showDialog ? 1 : 0));
    }

    // Waits for the check-failure message, compares it as the user reads it and dismisses it.
    void ExpectCheckFailureMessage() {
        const HWND box = WaitForDialog(saver_->Id(), kCheckFailedCaption, kStartMilliseconds);
        ASSERT_NE(box, nullptr) << "no message box";
        for (const DialogView& view : VisibleDialogsOf(saver_->Id())) {
            if (view.window == box) {
                EXPECT_EQ(view.text, kCheckFailedText);
            }
        }
        ASSERT_TRUE(DismissMessageBox(box, kExitMilliseconds));
    }

    // With the password flag off again, the next click ends the saver.
    void EndWithoutPassword() {
        DeleteValue(kDesktopKey, "ScreenSaveUsePassword");
        SendMouseButtons(MOUSEEVENTF_LEFTDOWN);
        SendMouseButtons(MOUSEEVENTF_LEFTUP);
        ExpectEndsWithZero();
    }
};

TEST_F(PasswordTest, AcceptedPasswordClosesTheSaver) {
    Answer(1);
    StartSaver();
    PressKey(VK_SPACE);
    ExpectEndsWithZero();
    EXPECT_EQ(VerifyCalls(), 1u);
    unsigned long long window = 0;
    ASSERT_TRUE(ReadQword(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_LAST_WINDOW, &window));
    EXPECT_EQ(window, reinterpret_cast<uintptr_t>(window_)) << "not asked for the saver window";
}

TEST_F(PasswordTest, PasswordSwitchedOffClosesWithoutAsking) {
    for (bool flagPresent : {true, false}) {
        SCOPED_TRACE(flagPresent ? "flag 0" : "flag absent");
        if (flagPresent) {
            ASSERT_TRUE(SetDword(kDesktopKey, "ScreenSaveUsePassword", 0));
        } else {
            DeleteValue(kDesktopKey, "ScreenSaveUsePassword");
        }
        Answer(0);
        StartSaver();
        PressKey(VK_SPACE);
        ExpectEndsWithZero();
        EXPECT_EQ(VerifyCalls(), 0u);
        SetCursorPos(CentreX(), CentreY());
    }
}

TEST_F(PasswordTest, RefusedPasswordKeepsTheSaverAndPutsTheCursorBack) {
    Answer(0);
    StartSaver();
    const POINT start = {CentreX(), CentreY()};
    // Diagonal moves past the first six: the one that asks leaves the cursor far from the start.
    for (int move = 0; move < 10 && VerifyCalls() == 0; ++move) DiagonalMoves(1, move);
    ASSERT_EQ(VerifyCalls(), 1u) << "no close request reached the password check";
    ASSERT_TRUE(WaitUntil([start] { return CursorAt(start); }, kExitMilliseconds))
        << "the cursor was not put back";
    ExpectStillRunning();
    EXPECT_EQ(VerifyCalls(), 1u);

    // Mouse moves count afresh: putting the cursor back gave the first, five more make six.
    DiagonalMoves(5);
    Pause(kStillRunningMilliseconds);
    EXPECT_EQ(VerifyCalls(), 1u) << "one of the first six moves after the refusal asked";
    MoveMouseTo(CentreX() + 200, CentreY() + 200);
    EXPECT_TRUE(WaitUntil([] { return VerifyCalls() == 2; }, kExitMilliseconds));

    // A key asks again too.
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([] { return VerifyCalls() == 3; }, kExitMilliseconds));
    ExpectStillRunning();

    Answer(1);
    PressKey(VK_SPACE);
    ExpectEndsWithZero();
    EXPECT_EQ(VerifyCalls(), 4u);
}

TEST_F(PasswordTest, PreviewClosesWithoutAsking) {
    // The control panel closes its preview whenever it likes; no password stands in the way.
    Answer(0);
    PreviewHost host(300, 200, 152, 112);
    saver_ = std::make_unique<SaverProcess>("/p " + host.HandleText());
    ASSERT_TRUE(saver_->Started());
    HWND preview = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            preview = FindWindowExA(host.Window(), nullptr, "ZOVA.kvr", nullptr);
            return preview != nullptr && IsWindowVisible(preview);
        },
        kStartMilliseconds));
    PostMessageA(preview, WM_CLOSE, 0, 0);
    ASSERT_TRUE(saver_->WaitForExit(kExitMilliseconds)) << "the preview did not close";
    EXPECT_EQ(saver_->ExitCode(), 0u);
    EXPECT_EQ(VerifyCalls(), 0u);
    EXPECT_TRUE(VisibleDialogsOf(saver_->Id()).empty());
}

TEST_F(PasswordTest, CloseRequestDuringACheckIsRefusedWithoutASecondDialog) {
    Answer(1, true);
    StartSaver();
    PressKey(VK_SPACE);
    const HWND dialog = WaitForDialog(saver_->Id(), kDoubleCaption, kStartMilliseconds);
    ASSERT_NE(dialog, nullptr) << "the password dialog did not open";

    // Further close requests while the dialog waits: the user's input reaches the saver window
    // through the dialog's message loop.
    PostMessageA(window_, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(window_, WM_CLOSE, 0, 0);
    Pause(kStillRunningMilliseconds);
    EXPECT_TRUE(saver_->IsRunning());
    EXPECT_EQ(VerifyCalls(), 1u);
    int dialogs = 0;
    for (const DialogView& view : VisibleDialogsOf(saver_->Id())) {
        EXPECT_NE(view.caption, kCheckFailedCaption) << "a refused request showed a message";
        if (view.caption == kDoubleCaption) ++dialogs;
    }
    EXPECT_EQ(dialogs, 1);

    // The dialog accepts: the first request closes the saver.
    ASSERT_TRUE(DismissMessageBox(dialog, kExitMilliseconds));
    ExpectEndsWithZero();
    EXPECT_EQ(VerifyCalls(), 1u);
}

TEST_F(PasswordTest, MissingVerifierShowsAMessageOnEveryCloseRequest) {
    ASSERT_TRUE(RemoveDouble(ProviderDouble::Password));
    StartSaver();
    PressKey(VK_SPACE);
    ExpectCheckFailureMessage();
    ExpectStillRunning();
    // Clicks from here on: a click goes to the window under the cursor, whichever window the
    // closed message box left in front.
    SendMouseButtons(MOUSEEVENTF_LEFTDOWN);
    SendMouseButtons(MOUSEEVENTF_LEFTUP);
    ExpectCheckFailureMessage();
    ExpectStillRunning();
    EXPECT_EQ(VerifyCalls(), 0u);
    EndWithoutPassword();
}

// Removes a file when the test ends, however it ends.
class PlantedFile {
  public:
    explicit PlantedFile(std::string path) : path_(std::move(path)) {}
    ~PlantedFile() { DeleteFileA(path_.c_str()); }
    PlantedFile(const PlantedFile&) = delete;
    PlantedFile& operator=(const PlantedFile&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

TEST_F(PasswordTest, VerifierBesideTheSaverIsNotLoaded) {
    // Only the system folder counts: a PASSWORD.CPL in the saver's folder (also the current
    // folder of the process) could be anybody's.
    ASSERT_TRUE(RemoveDouble(ProviderDouble::Password));
    Answer(1);
    const std::string folder = FolderOf(Config().saverPath);
    PlantedFile planted(folder + "\\PASSWORD.CPL");
    ASSERT_TRUE(CopyFileA(DoubleBuildPath(ProviderDouble::Password).c_str(), planted.Path().c_str(),
                          FALSE));
    saver_ = std::make_unique<SaverProcess>("/s", folder);
    ASSERT_TRUE(saver_->Started());
    ASSERT_TRUE(WaitUntil(
        [this] {
            window_ = FindSaverTopLevel(saver_->Id());
            return window_ != nullptr;
        },
        kStartMilliseconds));
    ASSERT_TRUE(WaitForBallsOnScreen(nullptr));

    PressKey(VK_SPACE);
    ExpectCheckFailureMessage();
    ExpectStillRunning();
    EXPECT_EQ(VerifyCalls(), 0u) << "the planted PASSWORD.CPL was loaded";
    EndWithoutPassword();
}

}  // namespace
