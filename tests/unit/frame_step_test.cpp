#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "raster/raster_image.h"
#include "scene/ball_table.h"
#include "scene/frame_step.h"
#include "scene/random.h"
#include "scene/striped_ball.h"

namespace {

using StepFunction = void (*)(RasterImage&, int32_t, int32_t);
using DrawFunction = int (*)(RasterImage&, int32_t, int32_t, int32_t, double, double, double,
                             uint32_t, uint32_t);

// A tick and the rasteriser it draws with.
struct TickVariant {
    const char* name;
    StepFunction step;
    DrawFunction draw;
};

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb& o) const {
        return red == o.red && green == o.green && blue == o.blue;
    }
};

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};
constexpr Rgb Red{240, 0, 0};
constexpr Rgb FlashPink{255, 200, 200};
constexpr Rgb FlashRed{240, 100, 100};

Rgb PixelAt(const RasterImage& canvas, int x, int y) {
    const uint8_t* p = canvas.RowPointer(y) + 3 * x;
    return {p[2], p[1], p[0]};
}

// Bounds and number of the pixels that are not black.
struct Lit {
    int count = 0;
    int minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30, maxY = -(1 << 30);
};

Lit LitPixels(const RasterImage& canvas) {
    Lit lit;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (PixelAt(canvas, x, y) == Black) continue;
            ++lit.count;
            lit.minX = std::min(lit.minX, x);
            lit.maxX = std::max(lit.maxX, x);
            lit.minY = std::min(lit.minY, y);
            lit.maxY = std::max(lit.maxY, y);
        }
    }
    return lit;
}

void PutBall(int i, double x, double y, double heading, double speed, int32_t countdown,
             double targetX, double targetY) {
    Balls.posX[i] = x;
    Balls.posY[i] = y;
    Balls.heading[i] = heading;
    Balls.speed[i] = speed;
    Balls.steerCountdown[i] = countdown;
    Balls.targetX[i] = targetX;
    Balls.targetY[i] = targetY;
    Balls.rollPhase[i] = 0;
    Balls.radius[i] = BallRadius;
}

class FrameStep : public ::testing::TestWithParam<TickVariant> {
  protected:
    void SetUp() override {
        Balls = BallTable{};
        BallCount = 0;
        RandomState = 1;
        ASSERT_EQ(canvas.Create(320, 240, 24), 1);
    }
    void Step() { GetParam().step(canvas, 320, 240); }

    RasterImage canvas;
};

TEST_P(FrameStep, LoneBallFiveTicks) {
    // Heading 0 at speed 5, target straight below: the first tick sees c = 750 and turns
    // clockwise toward it; with countdown 4 it turns in ticks 1 and 3 and renews in tick 5.
    BallCount = 1;
    PutBall(0, 100, 50, 0, 5, 4, 100, 200);
    const struct {
        int drawnX, drawnY;
        double heading, x, y;
        int32_t countdown;
    } ticks[] = {
        {100, 50, 12, 105, 50, 3},           {105, 50, 12, 109.8907, 51.0396, 2},
        {109, 51, 24, 114.7815, 52.0791, 1}, {114, 52, 24, 119.3492, 54.1128, 0},
        {119, 54, 24, 123.9169, 56.1465, 3},
    };
    int tick = 0;
    for (const auto& t : ticks) {
        ++tick;
        SCOPED_TRACE(testing::Message() << "tick " << tick);
        Step();
        const Lit lit = LitPixels(canvas);
        // A whole disc of radius 14 and nothing left of earlier frames.
        EXPECT_EQ(lit.count, 613);
        EXPECT_EQ(lit.minX, t.drawnX - 14);
        EXPECT_EQ(lit.maxX, t.drawnX + 14);
        EXPECT_EQ(lit.minY, t.drawnY - 14);
        EXPECT_EQ(lit.maxY, t.drawnY + 14);
        EXPECT_NEAR(Balls.heading[0], t.heading, 1e-9);
        EXPECT_NEAR(Balls.posX[0], t.x, 1e-4);
        EXPECT_NEAR(Balls.posY[0], t.y, 1e-4);
        EXPECT_EQ(Balls.steerCountdown[0], t.countdown);
        EXPECT_EQ(Balls.rollPhase[0], 8.0 * tick);
        if (tick < 5) {
            EXPECT_EQ(RandomState, 1u) << "no draw before the renewal";
        }
    }
    // The renewal drew countdown, target x and target y from outputs 41, 18467 and 6334, the
    // target spread two and a half times the canvas about its centre.
    EXPECT_EQ(Balls.targetX[0], 210.8544921875);
    EXPECT_EQ(Balls.targetY[0], -64.02099609375);
    const uint32_t renewed = RandomState;
    RandomState = 1;
    for (int n = 0; n < 3; ++n) Random01();
    EXPECT_EQ(renewed, RandomState) << "exactly three draws";
}

TEST_P(FrameStep, CountdownRhythm) {
    // A countdown of n turns on each even value while counting n down to 1, then renews without
    // turning in tick n + 1.
    for (int32_t n = 3; n <= 12; ++n) {
        SCOPED_TRACE(testing::Message() << "countdown " << n);
        Balls = BallTable{};
        BallCount = 1;
        RandomState = 5;
        PutBall(0, 160, 120, 90, 3, n, 1000, 120);
        std::vector<int> turnTicks;
        for (int tick = 1; tick <= n + 1; ++tick) {
            const double before = Balls.heading[0];
            Step();
            if (Balls.heading[0] != before) turnTicks.push_back(tick);
            if (tick <= n) {
                EXPECT_EQ(RandomState, 5u) << "tick " << tick;
            }
        }
        std::vector<int> expected;
        for (int tick = 1; tick <= n; ++tick)
            if ((n - tick + 1) % 2 == 0) expected.push_back(tick);
        EXPECT_EQ(turnTicks, expected);
        EXPECT_NE(RandomState, 5u);
        EXPECT_GE(Balls.steerCountdown[0], 3);
        EXPECT_LE(Balls.steerCountdown[0], 12);
    }
}

TEST_P(FrameStep, SteeringTurnsTowardTargetSide) {
    const struct {
        const char* name;
        double heading, targetDx, targetDy, expected;
    } cases[] = {
        {"target ahead", 0, 50, 0, 348},
        {"target behind", 0, -50, 0, 348},
        {"target at centre", 0, 0, 0, 348},
        {"right turn across 360", 350, 0, 100, 2},
        {"left turn across 0", 5, 0, -100, 353},
        {"heading down, target left", 90, -40, 0, 102},
        {"heading down, target right", 90, 40, 0, 78},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Balls = BallTable{};
        BallCount = 1;
        PutBall(0, 160, 120, c.heading, 4, 2, 160 + c.targetDx, 120 + c.targetDy);
        Step();
        EXPECT_EQ(Balls.heading[0], c.expected);
    }
}

TEST_P(FrameStep, ContactNeedsTruncatedDistanceBelow22) {
    // Ball 0 heads away from ball 1 at speed 3; on contact it turns back and moves twice, and
    // ball 1 then tests against where ball 0 now stands.
    const struct {
        double x0, heading0, x1, heading1;
        double endHeading0, endX0, endHeading1, endX1;
    } cases[] = {
        // 22.0 apart: no contact for either.
        {100, 180, 122, 0, 180, 97, 0, 125},
        // 21.99 apart: ball 0 turns and comes to 106; ball 1, 15.99 from it, turns too.
        {100, 180, 121.99, 0, 0, 106, 180, 115.99},
        // Ball 0 turns away to 94; ball 1, now 27.99 from it, goes on.
        {100, 0, 121.99, 0, 180, 94, 0, 124.99},
        // Reversal folds into [0, 360): 200 becomes 20.
        {100, 200, 80, 180, 20, 100 + 6 * 0.9396926207859084, 180, 77},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x0 << " and " << c.x1);
        Balls = BallTable{};
        BallCount = 2;
        // Odd countdowns: no steering in this tick.
        PutBall(0, c.x0, 100, c.heading0, 3, 3, 0, 0);
        PutBall(1, c.x1, 100, c.heading1, 3, 3, 0, 0);
        Step();
        EXPECT_NEAR(Balls.heading[0], c.endHeading0, 1e-9);
        EXPECT_NEAR(Balls.posX[0], c.endX0, 1e-9);
        EXPECT_NEAR(Balls.heading[1], c.endHeading1, 1e-9);
        EXPECT_NEAR(Balls.posX[1], c.endX1, 1e-9);
    }
}

TEST_P(FrameStep, TurnsBackOnceAtItsFirstContact) {
    // Ball 0 touches both others; the test ends at the first, so it does not turn back again.
    BallCount = 3;
    PutBall(0, 100, 100, 0, 3, 3, 0, 0);
    PutBall(1, 115, 100, 90, 3, 3, 0, 0);
    PutBall(2, 100, 115, 90, 3, 3, 0, 0);
    Step();
    EXPECT_EQ(Balls.heading[0], 180.0);
    EXPECT_NEAR(Balls.posX[0], 94, 1e-9);
}

TEST_P(FrameStep, TurningBallIsDrawnAgainInFlashColours) {
    BallCount = 2;
    PutBall(0, 100, 100, 0, 3, 3, 0, 0);
    PutBall(1, 121.99, 100, 0, 3, 3, 0, 0);
    Step();
    ASSERT_EQ(Balls.heading[0], 180.0);

    // Ball 0 as a flash alone, pointing its new way, where it stood before moving.
    RasterImage flash;
    ASSERT_EQ(flash.Create(320, 240, 24), 1);
    GetParam().draw(flash, 100, 100, 14, 180.0, 0.0, 30.0, 0x00C8C8FF, 0x006464F0);

    int flashPixels = 0;
    for (int dy = -14; dy <= 14; ++dy) {
        for (int dx = -14; dx <= 14; ++dx) {
            if (dx * dx + dy * dy > 196) continue;
            const int x = 100 + dx;
            const int y = 100 + dy;
            const int ox = x - 121;  // ball 1, drawn later at column 121, covers ball 0
            if (ox * ox + dy * dy <= 196) {
                const Rgb p = PixelAt(canvas, x, y);
                EXPECT_TRUE(p == White || p == Red) << x << "," << y;
                continue;
            }
            const Rgb p = PixelAt(canvas, x, y);
            EXPECT_TRUE(p == FlashPink || p == FlashRed) << x << "," << y;
            EXPECT_TRUE(p == PixelAt(flash, x, y)) << x << "," << y;
            ++flashPixels;
        }
    }
    EXPECT_GT(flashPixels, 400);
}

TEST_P(FrameStep, NoBallsGiveBlackFrames) {
    canvas.FillRectangle(0, 0, 319, 239, 90, 91, 92);
    BallCount = 0;
    for (int tick = 0; tick < 3; ++tick) {
        Step();
        const uint8_t* bytes = canvas.RowPointer(239);
        const std::vector<uint8_t> zeros(canvas.Stride() * 240, 0);
        ASSERT_EQ(std::memcmp(bytes, zeros.data(), zeros.size()), 0) << "tick " << tick;
    }
    EXPECT_EQ(RandomState, 1u);
}

TEST_P(FrameStep, DrawnAtTruncatedCentre) {
    const struct {
        double x;
        int firstColumn, lastColumn, topRow, bottomRow;
    } cases[] = {
        {-0.7, 0, 14, 106, 134}, {-1.3, 0, 13, 107, 133},     {0.7, 0, 14, 106, 134},
        {-14.9, 0, 0, 120, 120}, {318.6, 304, 319, 106, 134}, {-15.2, -1, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        Balls = BallTable{};
        BallCount = 1;
        PutBall(0, c.x, 120, 90, 3, 3, 0, 0);
        Step();
        const Lit lit = LitPixels(canvas);
        if (c.lastColumn < 0) {
            EXPECT_EQ(lit.count, 0);
            continue;
        }
        EXPECT_EQ(lit.minX, c.firstColumn);
        EXPECT_EQ(lit.maxX, c.lastColumn);
        EXPECT_EQ(lit.minY, c.topRow);
        EXPECT_EQ(lit.maxY, c.bottomRow);
    }
}

TEST_P(FrameStep, CountAboveTableUsesOnlyItsSlots) {
    RandomState = 4242;
    BallCount = MaxBalls;
    for (int i = 0; i < MaxBalls; ++i) PutBall(i, 10.0 * i, 7.0 * i, 12.0 * i, 4, i % 13, 50, 50);
    const BallTable start = Balls;
    Step();
    const BallTable expected = Balls;
    const uint32_t expectedState = RandomState;

    Balls = start;
    RandomState = 4242;
    BallCount = 0xFFFFFFFFu;
    Step();
    EXPECT_EQ(std::memcmp(&expected, &Balls, sizeof(BallTable)), 0);
    EXPECT_EQ(RandomState, expectedState);
}

TEST_P(FrameStep, CanvasWithoutPixelsStillAdvances) {
    RasterImage empty;
    BallCount = 1;
    PutBall(0, 100, 50, 0, 5, 4, 100, 200);
    GetParam().step(empty, 320, 240);
    EXPECT_EQ(Balls.posX[0], 105.0);
    EXPECT_EQ(Balls.heading[0], 12.0);
    EXPECT_EQ(Balls.rollPhase[0], 8.0);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, FrameStep,
    ::testing::Values(TickVariant{"Fast", StepScene, DrawStripedBall},
                      TickVariant{"Reference", StepSceneReference, DrawStripedBallReference}),
    [](const ::testing::TestParamInfo<TickVariant>& info) { return std::string(info.param.name); });

}  // namespace
