#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "raster/raster_image.h"
#include "scene/changed_area.h"
#include "scene/frame_step.h"
#include "scene/scene.h"
#include "scene/striped_ball.h"

namespace {

constexpr int32_t W = 320, H = 240;

// One drawing a frame should hold: a ball in the normal colours or, turning back, the flash.
struct Drawing {
    int32_t x, y;
    double heading, roll;
    bool flash;
};

class FrameStep : public ::testing::Test {
  protected:
    void SetUp() override {
        scene.width = W, scene.height = H, scene.randomState = 1;
        ASSERT_EQ(canvas.Create(W, H, 24), 1);
    }

    void PutBall(int i, double x, double y, double heading, double speed = 3, int32_t countdown = 3,
                 double targetX = 0, double targetY = 0) {
        BallTable& b = scene.balls;
        b.posX[i] = x, b.posY[i] = y, b.heading[i] = heading, b.speed[i] = speed;
        b.targetX[i] = targetX, b.targetY[i] = targetY, b.steerCountdown[i] = countdown;
        b.rollPhase[i] = 0, b.radius[i] = 14;
    }

    // Whether the canvas holds exactly these drawings, in this order, on black.
    bool Shows(std::initializer_list<Drawing> drawings) {
        RasterImage expected;
        expected.Create(W, H, 24);
        for (const Drawing& d : drawings)
            DrawStripedBall(expected, d.x, d.y, 14, d.heading, d.roll, 30.0,
                            d.flash ? 0x00C8C8FF : 0x00FFFFFF, d.flash ? 0x006464F0 : 0x000000F0);
        return std::memcmp(canvas.RowPointer(H - 1), expected.RowPointer(H - 1),
                           static_cast<size_t>(canvas.Stride()) * H) == 0;
    }

    Scene scene;
    RasterImage canvas;
};

TEST_F(FrameStep, LoneBallFiveTicks) {
    // Countdown 4: turns toward the target below in ticks 1 and 3, renews in tick 5.
    scene.ballCount = 1;
    PutBall(0, 100, 50, 0, 5, 4, 100, 200);
    const struct {
        int32_t drawnX, drawnY;
        double heading, x, y;
        int32_t countdown;
    } ticks[] = {
        {100, 50, 12, 105, 50, 3},           {105, 50, 12, 109.8907, 51.0396, 2},
        {109, 51, 24, 114.7815, 52.0791, 1}, {114, 52, 24, 119.3492, 54.1128, 0},
        {119, 54, 24, 123.9169, 56.1465, 3},
    };
    for (int tick = 1; tick <= 5; ++tick) {
        const auto& t = ticks[tick - 1];
        const double heading = scene.balls.heading[0];
        StepScene(&scene, canvas, nullptr);
        EXPECT_TRUE(Shows({{t.drawnX, t.drawnY, heading, 8.0 * (tick - 1), false}})) << tick;
        EXPECT_NEAR(scene.balls.heading[0], t.heading, 1e-9) << tick;
        EXPECT_NEAR(scene.balls.posX[0], t.x, 1e-4) << tick;
        EXPECT_NEAR(scene.balls.posY[0], t.y, 1e-4) << tick;
        EXPECT_EQ(scene.balls.steerCountdown[0], t.countdown) << tick;
        EXPECT_EQ(scene.balls.rollPhase[0], 8.0 * tick) << tick;
    }
    // Outputs 41, 18467, 6334: countdown, then the target spread 2.5 times about the centre.
    EXPECT_EQ(scene.balls.targetX[0], 210.8544921875);
    EXPECT_EQ(scene.balls.targetY[0], -64.02099609375);
    EXPECT_EQ(scene.randomState, 415139642u) << "exactly three draws";
}

TEST_F(FrameStep, SteersTowardTheTargetSide) {
    // Heading, target offset, heading after: a cross product of 0 turns by -12.
    const double cases[][4] = {
        {0, 50, 0, 348}, {0, 0, 0, 348}, {350, 0, 100, 2}, {5, 0, -100, 353}, {90, 40, 0, 78},
    };
    for (const auto& c : cases) {
        scene.ballCount = 1;
        PutBall(0, 160, 120, c[0], 4, 2, 160 + c[1], 120 + c[2]);
        StepScene(&scene, canvas, nullptr);
        EXPECT_EQ(scene.balls.heading[0], c[3]) << c[0] << " to " << c[1] << ", " << c[2];
    }
}

TEST_F(FrameStep, TurnsBackAtFirstContactBelow22) {
    // Two balls on one row, each x and heading before and after the tick. By rows: 22.0 apart,
    // no contact; 21.99 apart, both turn, ball 1 against ball 0's new place; 200 reversed is 20;
    // only ball 0 turns. A turning ball moves twice along its new heading.
    const double cases[][8] = {
        {100, 180, 122, 0, 180, 97, 0, 125},
        {100, 180, 121.99, 0, 0, 106, 180, 115.99},
        {100, 200, 80, 180, 20, 100 + 6 * 0.9396926207859084, 180, 77},
        {100, 0, 121.99, 0, 180, 94, 0, 124.99},
    };
    for (const auto& c : cases) {
        scene.ballCount = 2;
        PutBall(0, c[0], 100, c[1]);
        PutBall(1, c[2], 100, c[3]);
        StepScene(&scene, canvas, nullptr);
        EXPECT_NEAR(scene.balls.heading[0], c[4], 1e-9) << c[2];
        EXPECT_NEAR(scene.balls.posX[0], c[5], 1e-9) << c[2];
        EXPECT_NEAR(scene.balls.heading[1], c[6], 1e-9) << c[2];
        EXPECT_NEAR(scene.balls.posX[1], c[7], 1e-9) << c[2];
    }
    // The last tick's frame: both balls before their move, the flash over the turning one.
    EXPECT_TRUE(
        Shows({{100, 100, 0, 0, false}, {100, 100, 180, 0, true}, {121, 100, 0, 0, false}}));
    // Ball 0 touches both others but turns back only once; they test against its new place.
    scene.ballCount = 3;
    PutBall(0, 100, 100, 0);
    PutBall(1, 115, 100, 90);
    PutBall(2, 100, 115, 90);
    StepScene(&scene, canvas, nullptr);
    EXPECT_EQ(scene.balls.heading[0], 180);
    EXPECT_TRUE(scene.balls.heading[1] == 270 && scene.balls.heading[2] == 270);
}

TEST_F(FrameStep, ClearsAndDrawsAtTheTruncatedCentre) {
    // No ball: the whole canvas is cleared. A ball far beyond the canvas is not seen.
    canvas.FillRectangle(0, 0, W - 1, H - 1, 90, 91, 92);
    StepScene(&scene, canvas, nullptr);
    EXPECT_TRUE(Shows({}));
    const double cases[][2] = {{-0.7, 0}, {-1.3, -1}, {-14.9, -14}, {318.6, 318}, {1e12, 1 << 30}};
    for (const auto& c : cases) {
        scene.ballCount = 1;
        PutBall(0, c[0], 120.9, 90);
        StepScene(&scene, canvas, nullptr);
        EXPECT_TRUE(Shows({{static_cast<int32_t>(c[1]), 120, 90, 0, false}})) << c[0];
    }
}

// Counts, sizes and radii at the ends of their ranges tick safely (the sanitised build traps
// reads past the table and overflow): a count past the table uses only its slots, and a canvas
// without pixels still sees every ball advance; no balls on a canvas of negative width; a contact
// test with the largest radius.
TEST_F(FrameStep, ExtremeCountsSizesAndRadiiTickSafely) {
    RasterImage empty;
    scene.ballCount = 0xFFFFFFFFu;
    PutBall(MaxBalls - 1, 100, 50, 0, 5, 4, 100, 200);
    StepScene(&scene, empty, nullptr);
    EXPECT_TRUE(scene.balls.posX[MaxBalls - 1] == 105 && scene.balls.heading[MaxBalls - 1] == 12 &&
                scene.balls.rollPhase[MaxBalls - 1] == 8);
    StartScene(&scene, INT32_MIN, H, 30, 1);
    StepScene(&scene, canvas, nullptr);
    EXPECT_EQ(scene.ballCount, 0u);
    scene = Scene{};
    scene.width = W, scene.height = H, scene.ballCount = 2;
    PutBall(0, -1e6, -1e6, 0);
    PutBall(1, 1e6, 1e6, 0);
    scene.balls.radius[0] = INT32_MAX;
    StepScene(&scene, canvas, nullptr);
    EXPECT_EQ(scene.balls.heading[0], 180) << "everything is within reach of that radius";
}

std::vector<uint8_t> Bytes(const RasterImage& image) {
    const uint8_t* first = image.RowPointer(image.Height() - 1);
    return first ? std::vector<uint8_t>(first, first + size_t(image.Stride()) * image.Height())
                 : std::vector<uint8_t>();
}

// Whether every byte that differs between the two pictures lies in the changed area.
bool OnlyChangedAreaDiffers(const std::vector<uint8_t>& before, const RasterImage& after,
                            const ChangedArea& changed) {
    const std::vector<uint8_t> now = Bytes(after);
    for (size_t k = 0; k < now.size() && !changed.whole; ++k) {
        if (now[k] == before[k]) continue;
        const int32_t x = int32_t(k % after.Stride()) / 3;
        const int32_t y = after.Height() - 1 - int32_t(k / after.Stride());
        bool inside = false;
        for (int r = 0; r < changed.count; ++r) {
            const PixelRect& c = changed.rects[r];
            inside |= x >= c.left && x < c.right && y >= c.top && y < c.bottom;
        }
        if (!inside) return false;
    }
    return true;
}

// The quiet tick against a full clear and redraw of the same scene, tick by tick, on canvases
// from a single pixel to clipped edges, with contacts, flashes and balls far off the canvas; the
// caller's own writes and a re-created canvas on the way; the last row's canvas is wider than its
// scene, and all of it is cleared.
TEST(QuietTick, LeavesWhatAFullRedrawLeavesAndReportsAllItChanged) {
    const int32_t cases[][5] = {
        {1, 1, 30, 5, 1},       {7, 5, 30, 6, 7},       {64, 48, 30, 7, 64},
        {64, 48, 0, 8, 64},     {320, 240, 30, 9, 320}, {320, 240, 2, 10, 320},
        {100, 30, 30, 11, 100}, {31, 200, 17, 12, 31},  {100, 100, 30, 13, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << "x" << c[1] << ", " << c[2] << " balls");
        Scene quiet, full;
        StartScene(&quiet, c[0], c[1], c[2], c[3]);
        full = quiet;
        RasterImage canvas, reference;
        ASSERT_TRUE(canvas.Create(c[4], c[1], 24) && reference.Create(c[4], c[1], 24));
        for (int tick = 1; tick <= 400; ++tick) {
            if (tick == 150) {
                canvas.FillRectangle(0, 0, c[4] - 1, c[1] / 2, 9, 9, 9);
                ForgetCanvas(&quiet);
            }
            if (tick == 250) canvas.Create(c[4], c[1], 24);
            const std::vector<uint8_t> before = Bytes(canvas);
            ChangedArea changed;
            StepScene(&quiet, canvas, &changed);
            StepSceneFully(&full, reference, DrawStripedBall);
            ASSERT_EQ(Bytes(canvas), Bytes(reference)) << "tick " << tick;
            ASSERT_EQ(std::memcmp(&quiet.balls, &full.balls, sizeof(BallTable)), 0) << tick;
            ASSERT_TRUE(tick == 250 || OnlyChangedAreaDiffers(before, canvas, changed)) << tick;
        }
    }
}

}  // namespace
