#include <gtest/gtest.h>

#include <ctime>

#include "scene/random.h"

namespace {

TEST(Random, FirstOutputsFromStateOneAndSeedFromTheClock) {
    // These pin multiplier, increment and the 15 output bits: bit 31 is set in several states.
    uint32_t state = 1;
    for (int k : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(Random01(&state), k / 32768.0);
    // The seed is the calendar's seconds.
    const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
    SeedRandom(&state);
    EXPECT_GE(state, before);
    EXPECT_LE(state, static_cast<uint32_t>(std::time(nullptr)));
}

}  // namespace
