#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "double_install.h"
#include "double_protocol.h"
#include "tests/e2e/full_screen_fixture.h"
#include "tests/e2e/preview_host.h"
#include "tests/e2e/process_windows.h"
#include "tests/e2e/registry_state.h"
#include "tests/e2e/saver_process.h"
#include "tests/e2e/user_input.h"
#include "tests/e2e/waiting.h"

namespace {

DWORD ChangeCalls() {
    DWORD calls = 0;
    ReadDword(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_CALLS, &calls);
    return calls;
}

// The change-password request, with the system's MPR.DLL played by a double. Wine prefers its own
// mpr.dll unless the program is told otherwise, so the saver gets a DLL override of its own.
class ChangePasswordTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntil([] { return FindWindowA("ZOVA.kvr", nullptr) == nullptr; }, 3000));
        ClearDoubleRecords();
        ASSERT_TRUE(InstallDouble(ProviderDouble::Mpr));
        ASSERT_TRUE(SetDllOverride("zova.scr", "mpr", "native"));
    }

    void TearDown() override {
        saver_.reset();
        EXPECT_TRUE(RemoveDllOverride("zova.scr", "mpr"));
        EXPECT_TRUE(RemoveDouble(ProviderDouble::Mpr));
        ClearDoubleRecords();
    }

    void Start(const std::string& arguments) {
        saver_ = std::make_unique<SaverProcess>(arguments);
        ASSERT_TRUE(saver_->Started()) << "cannot start " << saver_->CommandLine();
    }

    void ExpectEndsWithZero() {
        ASSERT_TRUE(saver_->WaitForExit(kStartMilliseconds)) << "the request did not end";
        EXPECT_EQ(saver_->ExitCode(), 0u);
    }

    void ExpectOneCallWithParent(HWND parent) {
        EXPECT_EQ(ChangeCalls(), 1u);
        EXPECT_EQ(ReadString(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_PROVIDER), "SCRSAVE");
        unsigned long long seenParent = 0;
        ASSERT_TRUE(ReadQword(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_PARENT, &seenParent));
        EXPECT_EQ(seenParent, reinterpret_cast<uintptr_t>(parent));
        DWORD reserved1 = 1;
        unsigned long long reserved2 = 1;
        EXPECT_TRUE(ReadDword(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_RESERVED1, &reserved1));
        EXPECT_TRUE(ReadQword(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_RESERVED2, &reserved2));
        EXPECT_EQ(reserved1, 0u);
        EXPECT_EQ(reserved2, 0u);
    }

    std::unique_ptr<SaverProcess> saver_;
};

TEST_F(ChangePasswordTest, HandsTheRequestToTheProviderWithTheGivenWindow) {
    PreviewHost panel(100, 100, 300, 200);
    Start("/a " + panel.HandleText());
    ExpectEndsWithZero();
    ExpectOneCallWithParent(panel.Window());
}

TEST_F(ChangePasswordTest, WithoutAHandleTheForegroundWindowIsTheParent) {
    PreviewHost panel(100, 100, 300, 200);
    SetForegroundWindow(panel.Window());
    Pause(50);
    ASSERT_EQ(GetForegroundWindow(), panel.Window());
    Start("/a");
    ExpectEndsWithZero();
    ExpectOneCallWithParent(panel.Window());
}

TEST_F(ChangePasswordTest, WaitsForTheProvidersDialog) {
    ASSERT_TRUE(SetDword(ZOVA_DOUBLE_KEY, ZOVA_CHANGE_SHOW_DIALOG, 1));
    PreviewHost panel(100, 100, 300, 200);
    Start("/a " + panel.HandleText());
    const HWND dialog = WaitForDialog(saver_->Id(), L"" ZOVA_DOUBLE_CAPTION, kStartMilliseconds);
    ASSERT_NE(dialog, nullptr) << "the provider's dialog did not open";
    Pause(kStillRunningMilliseconds);
    EXPECT_TRUE(saver_->IsRunning()) << "the request did not wait for the provider";
    ASSERT_TRUE(DismissMessageBox(dialog, kExitMilliseconds));
    ExpectEndsWithZero();
    EXPECT_EQ(ChangeCalls(), 1u);
}

TEST_F(ChangePasswordTest, MissingMprGivesAMessage) {
    // An empty override makes every load of mpr fail for this program.
    ASSERT_TRUE(SetDllOverride("zova.scr", "mpr", ""));
    Start("/a");
    const HWND box = WaitForDialog(saver_->Id(), L"VASK", kStartMilliseconds);
    ASSERT_NE(box, nullptr) << "no message box";
    const std::vector<DialogView> dialogs = VisibleDialogsOf(saver_->Id());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, L"MPR.DLLが見つかりません");
    ASSERT_TRUE(DismissMessageBox(box, kExitMilliseconds));
    ExpectEndsWithZero();
    EXPECT_EQ(ChangeCalls(), 0u);
}

TEST_F(ChangePasswordTest, NotAskedBesideARunningSaver) {
    SavedRegistryValue savedCount(kSettingsKey, "COUNT");
    SavedRegistryValue savedPasswordFlag(kDesktopKey, "ScreenSaveUsePassword");
    ASSERT_TRUE(SetDword(kSettingsKey, "COUNT", 1));
    DeleteValue(kDesktopKey, "ScreenSaveUsePassword");
    SaverProcess running("/s");
    ASSERT_TRUE(running.Started());
    ASSERT_TRUE(
        WaitUntil([&] { return FindSaverTopLevel(running.Id()) != nullptr; }, kStartMilliseconds));
    Start("/a");
    ExpectEndsWithZero();
    EXPECT_EQ(ChangeCalls(), 0u);
    PressKey(VK_SPACE);
    ASSERT_TRUE(running.WaitForExit(kExitMilliseconds));
    EXPECT_EQ(running.ExitCode(), 0u);
}

}  // namespace
