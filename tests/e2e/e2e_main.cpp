#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "double_install.h"
#include "tests/e2e/saver_process.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--saver=", 8) == 0) SaverPath() = WinePathFromUnix(argv[i] + 8);
    }
    if (SaverPath().empty()) {
        std::fprintf(stderr, "usage: e2e_driver --saver=/unix/path/zova.scr [gtest options]\n");
        return 2;
    }
    // The first use of the window system starts Wine's desktop, which in a new prefix can take
    // ten seconds; pay that here rather than inside some test's deadline.
    GetSystemMetrics(SM_CXSCREEN);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    return RUN_ALL_TESTS();
}
