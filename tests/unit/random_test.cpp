#include <gtest/gtest.h>

#include <ctime>

#include "scene/random.h"

namespace {

TEST(Random, FirstOutputsFromStateOne) {
    // These pin multiplier, increment and the 15 output bits: bit 31 is set in several states.
    RandomState = 1;
    for (int k : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(Random01(), k / 32768.0);
}

TEST(Random, SeedIsCalendarSeconds) {
    const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
    SeedRandom();
    EXPECT_GE(RandomState, before);
    EXPECT_LE(RandomState, static_cast<uint32_t>(std::time(nullptr)));
}

}  // namespace
