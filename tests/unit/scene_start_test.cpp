#include <gtest/gtest.h>

#include <cstring>

#include "scene/ball_table.h"
#include "scene/random.h"
#include "scene/scene_start.h"

namespace {

TEST(ClampBallCount, BringsStoredValuesIntoTable) {
    const uint32_t cases[][2] = {
        {0, 0}, {20, 20}, {30, 30}, {31, 30}, {0x7FFFFFFF, 30}, {0x80000000, 0}, {0xFFFFFFFF, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ClampBallCount(c[0]), c[1]) << c[0];
}

TEST(PlaceBalls, TwoBallsOn640x480FromStateOne) {
    std::memset(&Balls, 0x55, sizeof(Balls));  // every field must be written
    RandomState = 1;
    BallCount = 2;
    PlaceBalls(640, 480);
    // Ball 0's first pair (-477.998046875, 316.28173828125) has y on the canvas: drawn again.
    // Per ball: start x and y, countdown, target x and y, heading, speed.
    const double expected[2][7] = {{-170.72265625, 610.458984375, 8, 307.109375, 168.134765625,
                                    322.53662109375, 7.11407470703125},
                                   {714.53125, -151.07666015625, 11, 454.70703125, 246.4892578125,
                                    109.434814453125, 3.074920654296875}};
    for (int i = 0; i < 2; ++i) {
        const double got[7] = {Balls.posX[i],    Balls.posY[i],    double(Balls.steerCountdown[i]),
                               Balls.targetX[i], Balls.targetY[i], Balls.heading[i],
                               Balls.speed[i]};
        for (int f = 0; f < 7; ++f) EXPECT_EQ(got[f], expected[i][f]) << "ball " << i << ", " << f;
        EXPECT_TRUE(Balls.radius[i] == 14 && Balls.rollPhase[i] == 0.0) << "ball " << i;
    }
    EXPECT_EQ(RandomState, 2179684817u) << "two pairs and five values, one pair and five";
}

TEST(PlaceBalls, EveryBallStartsBeyondACornerWithItsTargetOnCanvas) {
    const int32_t sizes[][2] = {{640, 480}, {1920, 1080}, {1, 1}, {1, 300}, {32767, 2}};
    for (const auto& size : sizes) {
        const double w = size[0], h = size[1];
        for (uint32_t seed = 0; seed < 200; ++seed) {
            RandomState = seed * 2654435761u;
            BallCount = seed % 2 ? MaxBalls : 0xFFFFFFFFu;  // past the table: only its slots
            PlaceBalls(size[0], size[1]);
            ASSERT_NE(BallCount, 0u);
            for (int i = 0; i < MaxBalls; ++i) {
                const double x = Balls.posX[i], y = Balls.posY[i];
                // Edge lines count as on the canvas.
                ASSERT_TRUE((x < 0 || x > w) && (y < 0 || y > h) && Balls.targetX[i] < w &&
                            Balls.targetY[i] < h)
                    << w << "x" << h << " seed " << seed << " ball " << i << ": " << x << ", " << y;
            }
        }
    }
}

TEST(PlaceBalls, NoBallsOrNoAreaDrawsNothing) {
    // Without area no point lies off the canvas on both axes: placement must still end.
    const int32_t cases[][3] = {
        {640, 480, 0}, {0, 480, 20}, {640, 0, 20}, {-1, 480, 20}, {640, -32768, 20}};
    for (const auto& c : cases) {
        Balls = BallTable{};
        RandomState = 99;
        BallCount = c[2];
        PlaceBalls(c[0], c[1]);
        const BallTable empty{};
        EXPECT_TRUE(BallCount == 0 && RandomState == 99 &&
                    std::memcmp(&empty, &Balls, sizeof(BallTable)) == 0)
            << c[0] << "x" << c[1] << " count " << c[2];
    }
}

}  // namespace
