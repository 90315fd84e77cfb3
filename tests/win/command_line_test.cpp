#include <gtest/gtest.h>

#include <cstdint>

#include "shell/command_line.h"
#include "shell/switch_search.h"
#include "window_test_support.h"

namespace {

HWND Handle(intptr_t value) { return reinterpret_cast<HWND>(value); }
HWND Garbage() { return Handle(0x5A5A); }

struct CommandLineCase {
    const char* commandLine;
    int result;
    int16_t mode;
    bool foregroundParent;  // else the handle below
    intptr_t handle;
};

class ParseSaverCommandLineTest : public testing::TestWithParam<CommandLineCase> {
  protected:
    // A visible foreground window, so that "the foreground window" is not simply null.
    void SetUp() override {
        SetForegroundWindow(foreground_.Handle());
        PumpMessagesUntil([] { return false; }, 20);
        ASSERT_NE(GetForegroundWindow(), nullptr);
    }
    HostWindow foreground_{WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 100};
};

TEST_P(ParseSaverCommandLineTest, ModeAndParent) {
    const CommandLineCase& c = GetParam();
    HWND parent = Garbage();
    int16_t mode = 77;
    const HWND foreground = GetForegroundWindow();
    EXPECT_EQ(ParseSaverCommandLine(c.commandLine, &parent, &mode), c.result);
    EXPECT_EQ(mode, c.mode);
    EXPECT_EQ(parent, c.foregroundParent ? foreground : Handle(c.handle));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseSaverCommandLineTest,
    testing::Values(
        // Empty: the setup dialog, with no parent and without asking for the foreground window.
        CommandLineCase{"", 0, SaverMode::Configure, false, 0},
        CommandLineCase{"/p 1234", 0, SaverMode::Preview, false, 1234},
        CommandLineCase{"/s", 0, SaverMode::Run, true, 0},
        CommandLineCase{"/c:123", 0, SaverMode::Configure, true, 0},
        CommandLineCase{"/s /c", 0, SaverMode::Configure, true, 0},
        CommandLineCase{"-S", 0, SaverMode::Run, true, 0},
        CommandLineCase{"ab-pcd", 0, SaverMode::Preview, true, 0},
        CommandLineCase{"/a 0", 0, SaverMode::ChangePassword, true, 0},
        CommandLineCase{"/a 99", 0, SaverMode::ChangePassword, false, 99},
        // No switch: nothing chosen, and the parent is cleared all the same.
        CommandLineCase{"/x", 1, 77, false, 0}, CommandLineCase{" ", 1, 77, false, 0}));

TEST(ParseSaverCommandLine, PointerSizedHandleSurvives) {
    HWND parent = nullptr;
    int16_t mode = 0;
    ASSERT_EQ(ParseSaverCommandLine("/p 4294967297", &parent, &mode), 0);
    const intptr_t expected =
        sizeof(intptr_t) == 8 ? static_cast<intptr_t>(INT64_C(4294967297)) : INTPTR_MAX;
    EXPECT_EQ(parent, Handle(expected));
}

}  // namespace
