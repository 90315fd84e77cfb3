#include <gtest/gtest.h>

#include <cstring>

#include "scene/ball_table.h"
#include "scene/random.h"
#include "scene/scene_start.h"

namespace {

class SceneStart : public ::testing::Test {
  protected:
    void SetUp() override {
        Balls = BallTable{};
        BallCount = 0;
    }
};

uint32_t StateAfterDraws(uint32_t state, int draws) {
    const uint32_t saved = RandomState;
    RandomState = state;
    for (int n = 0; n < draws; ++n) Random01();
    const uint32_t result = RandomState;
    RandomState = saved;
    return result;
}

TEST(ClampBallCount, BringsStoredValuesIntoTable) {
    const struct {
        uint32_t stored;
        uint32_t expected;
    } cases[] = {
        {0, 0},           {1, 1},           {20, 20},         {29, 29},
        {30, 30},         {31, 30},         {1000, 30},       {0x7FFFFFFFu, 30},
        {0x80000000u, 0}, {0xFFFFFFE2u, 0}, {0xFFFFFFFFu, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ClampBallCount(c.stored), c.expected) << c.stored;
}

TEST_F(SceneStart, PlacesTwoBallsOn640x480FromStateOne) {
    RandomState = 1;
    BallCount = 2;
    PlaceBalls(640, 480);

    // Ball 0's first pair (-477.998046875, 316.28173828125) lies on the canvas in y and is drawn
    // again.
    EXPECT_EQ(Balls.posX[0], -170.72265625);
    EXPECT_EQ(Balls.posY[0], 610.458984375);
    EXPECT_EQ(Balls.steerCountdown[0], 8);
    EXPECT_EQ(Balls.targetX[0], 307.109375);
    EXPECT_EQ(Balls.targetY[0], 168.134765625);
    EXPECT_EQ(Balls.heading[0], 322.53662109375);
    EXPECT_EQ(Balls.speed[0], 7.11407470703125);

    EXPECT_EQ(Balls.posX[1], 714.53125);
    EXPECT_EQ(Balls.posY[1], -151.07666015625);
    EXPECT_EQ(Balls.steerCountdown[1], 11);
    EXPECT_EQ(Balls.targetX[1], 454.70703125);
    EXPECT_EQ(Balls.targetY[1], 246.4892578125);
    EXPECT_EQ(Balls.heading[1], 109.434814453125);
    EXPECT_EQ(Balls.speed[1], 3.074920654296875);

    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Balls.radius[i], 14);
        EXPECT_EQ(Balls.rollPhase[i], 0.0);
    }
    // Two pairs and five values for ball 0, one pair and five for ball 1: nothing more.
    EXPECT_EQ(RandomState, StateAfterDraws(1, 16));
    EXPECT_EQ(BallCount, 2u);
}

TEST_F(SceneStart, EveryBallStartsBeyondACornerWithItsTargetOnCanvas) {
    const struct {
        int32_t width, height;
    } sizes[] = {{640, 480}, {1920, 1080}, {152, 112}, {1, 1}, {1, 300}, {300, 1}, {32767, 2}};
    for (const auto& size : sizes) {
        const double w = size.width;
        const double h = size.height;
        for (uint32_t seed = 0; seed < 200; ++seed) {
            SCOPED_TRACE(testing::Message()
                         << size.width << "x" << size.height << " seed " << seed);
            RandomState = seed * 2654435761u;
            BallCount = MaxBalls;
            PlaceBalls(size.width, size.height);
            ASSERT_EQ(BallCount, static_cast<uint32_t>(MaxBalls));
            for (int i = 0; i < MaxBalls; ++i) {
                // Edge lines count as on the canvas.
                ASSERT_TRUE(Balls.posX[i] < 0 || Balls.posX[i] > w) << Balls.posX[i];
                ASSERT_TRUE(Balls.posY[i] < 0 || Balls.posY[i] > h) << Balls.posY[i];
                ASSERT_GE(Balls.posX[i], -0.75 * w);
                ASSERT_LT(Balls.posX[i], 1.75 * w);
                ASSERT_GE(Balls.posY[i], -0.75 * h);
                ASSERT_LT(Balls.posY[i], 1.75 * h);
                ASSERT_GE(Balls.targetX[i], 0.0);
                ASSERT_LT(Balls.targetX[i], w);
                ASSERT_GE(Balls.targetY[i], 0.0);
                ASSERT_LT(Balls.targetY[i], h);
                ASSERT_GE(Balls.steerCountdown[i], 3);
                ASSERT_LE(Balls.steerCountdown[i], 12);
                ASSERT_GE(Balls.speed[i], 3.0);
                ASSERT_LT(Balls.speed[i], 8.0);
                ASSERT_GE(Balls.heading[i], 0.0);
                ASSERT_LT(Balls.heading[i], 360.0);
                ASSERT_EQ(Balls.rollPhase[i], 0.0);
                ASSERT_EQ(Balls.radius[i], 14);
            }
        }
    }
}

TEST_F(SceneStart, SameSeedPlacesAlike) {
    RandomState = 1700000000u;
    BallCount = 20;
    PlaceBalls(800, 600);
    const BallTable first = Balls;

    Balls = BallTable{};
    RandomState = 1700000000u;
    PlaceBalls(800, 600);
    EXPECT_EQ(std::memcmp(&first, &Balls, sizeof(BallTable)), 0);
}

TEST_F(SceneStart, NoBallsDrawNothing) {
    RandomState = 777;
    BallCount = 0;
    PlaceBalls(640, 480);
    EXPECT_EQ(RandomState, 777u);
    EXPECT_EQ(BallCount, 0u);
}

TEST_F(SceneStart, CanvasWithoutAreaEndsWithNoBalls) {
    const struct {
        int32_t width, height;
    } sizes[] = {{0, 480}, {640, 0}, {0, 0}, {-1, 480}, {640, -32768}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
        Balls = BallTable{};
        RandomState = 99;
        BallCount = 20;
        PlaceBalls(size.width, size.height);
        EXPECT_EQ(BallCount, 0u);
        EXPECT_EQ(RandomState, 99u);
        const BallTable empty{};
        EXPECT_EQ(std::memcmp(&empty, &Balls, sizeof(BallTable)), 0);
    }
}

}  // namespace
