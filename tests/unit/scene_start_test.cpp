#include <gtest/gtest.h>

#include <cstring>

#include "scene/scene.h"
#include "scene/scene_start.h"

namespace {

TEST(StartScene, KeepsTheCountWithinTheTableAndPlacesNothingWithoutArea) {
    // Width, height, stored count, balls. Negative as a signed number: none. Without area no
    // point lies off the canvas on both axes: placement must still end, drawing nothing.
    const int64_t cases[][4] = {{640, 480, 0, 0},
                                {640, 480, 20, 20},
                                {640, 480, 30, 30},
                                {640, 480, 31, 30},
                                {640, 480, 0x7FFFFFFF, 30},
                                {640, 480, 0x80000000, 0},
                                {0, 480, 20, 0},
                                {640, 0, 20, 0},
                                {-1, 480, 20, 0},
                                {640, -32768, 20, 0}};
    for (const auto& c : cases) {
        Scene scene;
        StartScene(&scene, int32_t(c[0]), int32_t(c[1]), uint32_t(c[2]), 99);
        const BallTable empty{};
        EXPECT_TRUE(scene.ballCount == c[3] &&
                    (c[3] > 0) == (std::memcmp(&empty, &scene.balls, sizeof empty) != 0))
            << c[0] << "x" << c[1] << " count " << c[2];
    }
}

TEST(PlaceBalls, TwoBallsOn640x480FromStateOne) {
    Scene scene;
    std::memset(&scene.balls, 0x55, sizeof(scene.balls));  // every field must be written
    scene.width = 640, scene.height = 480, scene.randomState = 1, scene.ballCount = 2;
    PlaceBalls(&scene);
    // Ball 0's first pair (-477.998046875, 316.28173828125) has y on the canvas: drawn again.
    // Per ball: start x and y, countdown, target x and y, heading, speed.
    const double expected[2][7] = {{-170.72265625, 610.458984375, 8, 307.109375, 168.134765625,
                                    322.53662109375, 7.11407470703125},
                                   {714.53125, -151.07666015625, 11, 454.70703125, 246.4892578125,
                                    109.434814453125, 3.074920654296875}};
    for (int i = 0; i < 2; ++i) {
        const double got[7] = {
            scene.balls.posX[i],    scene.balls.posY[i],    double(scene.balls.steerCountdown[i]),
            scene.balls.targetX[i], scene.balls.targetY[i], scene.balls.heading[i],
            scene.balls.speed[i]};
        for (int f = 0; f < 7; ++f) EXPECT_EQ(got[f], expected[i][f]) << "ball " << i << ", " << f;
        EXPECT_TRUE(scene.balls.radius[i] == 14 && scene.balls.rollPhase[i] == 0.0) << "ball " << i;
    }
    EXPECT_EQ(scene.randomState, 2179684817u) << "two pairs and five values, one pair and five";
}

TEST(PlaceBalls, EveryBallStartsBeyondACornerWithItsTargetOnCanvas) {
    const int32_t sizes[][2] = {{640, 480}, {1920, 1080}, {1, 1}, {1, 300}, {32767, 2}};
    for (const auto& size : sizes) {
        const double w = size[0], h = size[1];
        for (uint32_t seed = 0; seed < 200; ++seed) {
            Scene scene;
            scene.width = size[0], scene.height = size[1], scene.randomState = seed * 2654435761u;
            scene.ballCount = seed % 2 ? MaxBalls : 0xFFFFFFFFu;  // past the table: only its slots
            PlaceBalls(&scene);
            ASSERT_NE(scene.ballCount, 0u);
            for (int i = 0; i < MaxBalls; ++i) {
                const double x = scene.balls.posX[i], y = scene.balls.posY[i];
                // Edge lines count as on the canvas.
                ASSERT_TRUE((x < 0 || x > w) && (y < 0 || y > h) && scene.balls.targetX[i] < w &&
                            scene.balls.targetY[i] < h)
                    << w << "x" << h << " seed " << seed << " ball " << i << ": " << x << ", " << y;
            }
        }
    }
}

}  // namespace
