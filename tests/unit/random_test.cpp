#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "scene/random.h"

namespace {

TEST(Random, FirstOutputsFromStateOne) {
    RandomState = 1;
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int k : expected) EXPECT_EQ(Random01(), k / 32768.0);

    RandomState = 1;
    EXPECT_EQ(Random01(), 0.001251220703125);
}

TEST(Random, StateWrapsModulo2To32) {
    RandomState = 0xFFFFFFFFu;
    Random01();
    EXPECT_EQ(RandomState, 2316998u);
}

TEST(Random, ValuesCoverWholeRangeInStepsOf1Over32768) {
    RandomState = 12345;
    double lowest = 1.0;
    double highest = 0.0;
    for (int n = 0; n < 1000000; ++n) {
        const double v = Random01();
        const double k = v * 32768.0;
        ASSERT_EQ(k, std::floor(k)) << "draw " << n;
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_EQ(lowest, 0.0);
    EXPECT_EQ(highest, 32767.0 / 32768.0);
}

TEST(Random, SeedIsCalendarSeconds) {
    const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
    SeedRandom();
    const uint32_t seeded = RandomState;
    const uint32_t after = static_cast<uint32_t>(std::time(nullptr));
    EXPECT_GE(seeded, before);
    EXPECT_LE(seeded, after);
}

}  // namespace
