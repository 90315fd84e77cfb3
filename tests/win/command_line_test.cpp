#include <gtest/gtest.h>

#include "shell/command_line.h"
#include "saver_rules/switch_search.h"
#include "window_support.h"

namespace {

constexpr intptr_t Foreground = -1;

TEST(ParseSaverCommandLine, ChoosesModeAndParent) {
    // A visible foreground window, so that "the foreground window" is not simply null.
    TestWindow window;
    SetForegroundWindow(window.handle);
    PumpMessagesUntil([] { return false; }, 20);
    const HWND foreground = GetForegroundWindow();
    ASSERT_NE(foreground, nullptr);

    // A handle above 32 bits keeps all of them where pointers are 64 bits wide.
    const intptr_t big = sizeof(intptr_t) == 8 ? intptr_t(INT64_C(4294967297)) : INTPTR_MAX;
    const struct {
        const char* commandLine;
        int result;
        int16_t mode;
        intptr_t parent;
    } cases[] = {
        {"", 0, SaverMode::Configure, 0},  // without asking for the foreground window
        {"/p 1234", 0, SaverMode::Preview, 1234},
        {"/p 4294967297", 0, SaverMode::Preview, big},
        {"/s", 0, SaverMode::Run, Foreground},
        {"/a 0", 0, SaverMode::ChangePassword, Foreground},
        {"ab-pcd", 0, SaverMode::Preview, Foreground},
        {"/x", 1, 77, 0},  // the mode is left alone, the parent cleared all the same
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        HWND parent = reinterpret_cast<HWND>(0x5A5A);
        int16_t mode = 77;
        EXPECT_EQ(ParseSaverCommandLine(c.commandLine, &parent, &mode), c.result);
        EXPECT_EQ(mode, c.mode);
        EXPECT_EQ(parent, c.parent == Foreground ? foreground : reinterpret_cast<HWND>(c.parent));
    }
}

}  // namespace
