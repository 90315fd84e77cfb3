#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "scene/ball_table.h"
#include "scene/canvas.h"
#include "shell/saver_state.h"
#include "shell/scene_runner.h"

namespace {

constexpr int Width = 64;
constexpr int Height = 48;
constexpr uint32_t Sentinel = 0x00123456;

uint32_t CanvasPixel(int x, int y) {
    const uint8_t* pixel = Canvas.RowPointer(y) + 3 * x;
    return static_cast<uint32_t>(pixel[2]) << 16 | static_cast<uint32_t>(pixel[1]) << 8 | pixel[0];
}

// A memory device context over a top-down 32-bit DIB section that starts out as Sentinel, and one
// still ball in the upper left corner of the canvas, so that the picture has a top and a bottom.
class PresentFrame : public testing::Test {
  protected:
    void SetUp() override {
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                           {}};
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        SelectObject(dc_, bitmap_);
        std::fill_n(bits_, Width * Height, Sentinel);
        SetStretchBltMode(dc_, HALFTONE);
        SaverWidth = Width;
        SaverHeight = Height;
        ASSERT_EQ(Canvas.Create(Width, Height, 24), 1);
        BallCount = 1;
        Balls = {};
        Balls.posX[0] = 16.0;
        Balls.posY[0] = 14.0;
        Balls.radius[0] = BallRadius;
    }
    void TearDown() override {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
        Canvas.Destroy();
    }
    // 0x00RRGGBB, row 0 at the top.
    uint32_t Pixel(int x, int y) const {
        GdiFlush();
        return bits_[y * Width + x] & 0x00FFFFFFu;
    }
    bool DeviceUntouched() const {
        for (int i = 0; i < Width * Height; ++i) {
            if (Pixel(i % Width, i / Width) != Sentinel) return false;
        }
        return GetStretchBltMode(dc_) == HALFTONE;
    }

    HDC dc_ = CreateCompatibleDC(nullptr);
    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
};

TEST_F(PresentFrame, ShowsEveryCanvasPixelInPlaceWithRowZeroAtTheTop) {
    StepAndPresentFrame(dc_);
    ASSERT_NE(CanvasPixel(16, 1), 0u);
    ASSERT_EQ(CanvasPixel(16, Height - 2), 0u);
    for (int i = 0; i < Width * Height; ++i) {
        const int x = i % Width, y = i / Width;
        ASSERT_EQ(Pixel(x, y), CanvasPixel(x, y)) << "at (" << x << ", " << y << ")";
    }
    EXPECT_EQ(GetStretchBltMode(dc_), COLORONCOLOR);
}

// Without pixels nothing may be copied; rows of another size would be read past their end.
TEST_F(PresentFrame, CanvasWithoutMatchingPixelsLeavesTheDeviceUntouched) {
    Canvas.Destroy();
    StepAndPresentFrame(dc_);
    EXPECT_TRUE(DeviceUntouched());
    EXPECT_EQ(Balls.rollPhase[0], 8.0);  // the scene ticks on unseen

    ASSERT_EQ(Canvas.Create(Width / 2, Height * 2, 24), 1);
    StepAndPresentFrame(dc_);
    EXPECT_TRUE(DeviceUntouched());
}

}  // namespace
