#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/full_screen_fixture.h"
#include "tests/e2e/preview_host.h"
#include "tests/e2e/process_windows.h"
#include "tests/e2e/saver_process.h"
#include "tests/e2e/user_input.h"
#include "tests/e2e/waiting.h"

namespace {

// A start that must do nothing: it ends by itself with code 0 and never shows a window.
void ExpectSilentStart(const std::string& arguments, const std::string& workingDir = "") {
    SaverProcess start(arguments, workingDir);
    ASSERT_TRUE(start.Started()) << "cannot start " << start.CommandLine();
    bool showedWindow = false;
    const bool ended = WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(start.Id())) {
                if (IsWindowVisible(window)) showedWindow = true;
            }
            return !start.IsRunning();
        },
        kExitMilliseconds);
    ASSERT_TRUE(ended) << start.CommandLine() << " did not end by itself";
    EXPECT_EQ(start.ExitCode(), 0u) << start.CommandLine();
    EXPECT_FALSE(showedWindow) << start.CommandLine() << " showed a window";
}

class SecondStartTest : public FullScreenTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SecondStartTest, DoesNothingBesideARunningSaver) {
    // Made before the saver, so that the saver's window is the one in front for the key below.
    PreviewHost host(300, 200, 152, 112);
    StartSaver();
    std::string arguments = GetParam();
    if (arguments == "/p") arguments += " " + host.HandleText();
    ExpectSilentStart(arguments);
    EXPECT_EQ(FindWindowExA(host.Window(), nullptr, "ZOVA.kvr", nullptr), nullptr);

    // The running saver is untouched: still the one saver window, still ending on a key.
    EXPECT_EQ(FindWindowA("ZOVA.kvr", nullptr), window_);
    PressKey(VK_SPACE);
    ExpectEndsWithZero();
}

INSTANTIATE_TEST_SUITE_P(Start, SecondStartTest, ::testing::Values("/c", "/a", "/s", "/p", ""),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             const std::string switchText = info.param;
                             return switchText.empty() ? std::string("NoArguments")
                                                       : "Switch" + switchText.substr(1);
                         });

TEST(NoSwitchTest, CommandLineWithoutASwitchDoesNothing) {
    // Not even the settings key is made: the program does not get as far as reading it.
    SavedRegistryValue savedCount(kSettingsKey, "COUNT");
    DeleteKeyTree(kSettingsKey);
    for (const char* arguments : {"/x", "hello", "x/"}) {
        SCOPED_TRACE(arguments);
        ExpectSilentStart(arguments);
        EXPECT_FALSE(KeyExists(kSettingsKey));
    }
}

}  // namespace
