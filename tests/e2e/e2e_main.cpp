#include <gtest/gtest.h>

#include "tests/e2e/driver_config.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!ParseDriverArguments(&argc, argv)) return 2;
    return RUN_ALL_TESTS();
}
