#include <gtest/gtest.h>

#include <cstdint>

#include "scene/ball_table.h"
#include "scene/canvas.h"
#include "shell/saver_state.h"
#include "shell/scene_runner.h"
#include "window_test_support.h"

namespace {

constexpr int Width = 64;
constexpr int Height = 48;
constexpr uint32_t Sentinel = 0x00123456;

uint32_t CanvasPixel(int x, int y) {
    const uint8_t* pixel = Canvas.RowPointer(y) + 3 * x;
    return static_cast<uint32_t>(pixel[2]) << 16 | static_cast<uint32_t>(pixel[1]) << 8 | pixel[0];
}

bool SurfaceIsAll(const DibSurface& surface, uint32_t value) {
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            if (surface.Pixel(x, y) != value) return false;
        }
    }
    return true;
}

// One still ball in the upper left corner, so that the picture has a top and a bottom.
void PlaceOneBallTopLeft() {
    BallCount = 1;
    Balls.posX[0] = 16.0;
    Balls.posY[0] = 14.0;
    Balls.radius[0] = BallRadius;
    Balls.speed[0] = 0.0;
    Balls.heading[0] = 30.0;
    Balls.rollPhase[0] = 0.0;
    Balls.steerCountdown[0] = 5;
    Balls.targetX[0] = 16.0;
    Balls.targetY[0] = 14.0;
}

class PresentFrame : public testing::Test {
  protected:
    void SetUp() override {
        savedWidth_ = SaverWidth;
        savedHeight_ = SaverHeight;
        savedCount_ = BallCount;
        SaverWidth = Width;
        SaverHeight = Height;
        ASSERT_EQ(Canvas.Create(Width, Height, 24), 1);
        ASSERT_TRUE(surface_.Valid());
        surface_.Fill(Sentinel);
        SetStretchBltMode(surface_.Dc(), HALFTONE);
    }
    void TearDown() override {
        Canvas.Destroy();
        SaverWidth = savedWidth_;
        SaverHeight = savedHeight_;
        BallCount = savedCount_;
    }

    DibSurface surface_{Width, Height};

  private:
    int16_t savedWidth_ = 0;
    int16_t savedHeight_ = 0;
    uint32_t savedCount_ = 0;
};

TEST_F(PresentFrame, ShowsCanvasRowZeroAtTheTop) {
    PlaceOneBallTopLeft();
    StepAndPresentFrame(surface_.Dc());

    // The ball reaches the top rows of the canvas and leaves the bottom rows black...
    ASSERT_NE(CanvasPixel(16, 1), 0u);
    ASSERT_EQ(CanvasPixel(16, Height - 2), 0u);
    // ...and the device shows every canvas pixel at the same place, colours in order.
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            ASSERT_EQ(surface_.Pixel(x, y), CanvasPixel(x, y)) << "at (" << x << ", " << y << ")";
        }
    }
    EXPECT_EQ(GetStretchBltMode(surface_.Dc()), COLORONCOLOR);
}

TEST_F(PresentFrame, CanvasWithoutPixelsLeavesTheDeviceUntouched) {
    PlaceOneBallTopLeft();
    Canvas.Destroy();
    StepAndPresentFrame(surface_.Dc());
    EXPECT_TRUE(SurfaceIsAll(surface_, Sentinel));
    EXPECT_EQ(GetStretchBltMode(surface_.Dc()), HALFTONE);
    // The scene still ticks: the ball rolls on unseen.
    EXPECT_EQ(Balls.rollPhase[0], 8.0);
}

// Rows of another width would be read past the end of the canvas's pixels.
TEST_F(PresentFrame, CanvasOfAnotherSizeIsNotRead) {
    PlaceOneBallTopLeft();
    ASSERT_EQ(Canvas.Create(Width / 2, Height * 2, 24), 1);
    StepAndPresentFrame(surface_.Dc());
    EXPECT_TRUE(SurfaceIsAll(surface_, Sentinel));
}

}  // namespace
