#include <gtest/gtest.h>

#include <cstdint>

#include "scene/ball_table.h"
#include "scene/canvas.h"
#include "shell/saver_state.h"
#include "shell/scene_runner.h"
#include "window_support.h"

namespace {

constexpr int Width = 64;
constexpr int Height = 48;
constexpr uint32_t Sentinel = 0x00123456;

uint32_t CanvasPixel(int x, int y) {
    const uint8_t* pixel = Canvas.RowPointer(y) + 3 * x;
    return static_cast<uint32_t>(pixel[2]) << 16 | static_cast<uint32_t>(pixel[1]) << 8 | pixel[0];
}

class PresentFrame : public testing::Test {
  protected:
    void SetUp() override {
        SaverWidth = Width;
        SaverHeight = Height;
        ASSERT_EQ(Canvas.Create(Width, Height, 24), 1);
        SetStretchBltMode(surface_.dc, HALFTONE);
        // One still ball in the upper left corner, so that the picture has a top and a bottom.
        BallCount = 1;
        Balls = {};
        Balls.posX[0] = 16.0;
        Balls.posY[0] = 14.0;
        Balls.radius[0] = BallRadius;
    }
    void TearDown() override { Canvas.Destroy(); }

    bool SurfaceUntouched() const {
        for (int i = 0; i < Width * Height; ++i) {
            if (surface_.Pixel(i % Width, i / Width) != Sentinel) return false;
        }
        return GetStretchBltMode(surface_.dc) == HALFTONE;
    }

    DibSurface surface_{Width, Height, Sentinel};
};

TEST_F(PresentFrame, ShowsEveryCanvasPixelInPlaceWithRowZeroAtTheTop) {
    StepAndPresentFrame(surface_.dc);
    ASSERT_NE(CanvasPixel(16, 1), 0u);
    ASSERT_EQ(CanvasPixel(16, Height - 2), 0u);
    for (int i = 0; i < Width * Height; ++i) {
        const int x = i % Width, y = i / Width;
        ASSERT_EQ(surface_.Pixel(x, y), CanvasPixel(x, y)) << "at (" << x << ", " << y << ")";
    }
    EXPECT_EQ(GetStretchBltMode(surface_.dc), COLORONCOLOR);
}

// Without pixels nothing may be copied; rows of another size would be read past their end.
TEST_F(PresentFrame, CanvasWithoutMatchingPixelsLeavesTheDeviceUntouched) {
    Canvas.Destroy();
    StepAndPresentFrame(surface_.dc);
    EXPECT_TRUE(SurfaceUntouched());
    EXPECT_EQ(Balls.rollPhase[0], 8.0);  // the scene ticks on unseen

    ASSERT_EQ(Canvas.Create(Width / 2, Height * 2, 24), 1);
    StepAndPresentFrame(surface_.dc);
    EXPECT_TRUE(SurfaceUntouched());
}

}  // namespace
