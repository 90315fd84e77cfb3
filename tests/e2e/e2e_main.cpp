#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "tests/e2e/driver_config.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!ParseDriverArguments(&argc, argv)) return 2;
    // The first use of the window system starts Wine's desktop, which in a new prefix can take
    // ten seconds; pay that here rather than inside some test's deadline.
    const ULONGLONG start = GetTickCount64();
    GetSystemMetrics(SM_CXSCREEN);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    std::printf("Window system ready after %llu ms\n", GetTickCount64() - start);
    return RUN_ALL_TESTS();
}
