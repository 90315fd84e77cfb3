#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "shell/saver_window.h"
#include "shell/scene_runner.h"

namespace {

constexpr int Width = 96;
constexpr int Height = 64;

// A plain top-level window the size of the canvas, painted only by what the test does, and
// SaverScene with two balls crossing it, so that each frame clears and draws in new places.
class PresentFrame : public testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "zova present test";
        RegisterClassA(&windowClass);
        window_ =
            CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0,
                            0, Width, Height, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(SaverCanvas.Create(Width, Height, 24), 1);
        StartScene(&SaverScene, Width, Height, 2, 1);
        const double balls[2][3] = {{10, 20, 0}, {80, 40, 180}};
        for (int i = 0; i < 2; ++i) {
            SaverScene.balls.posX[i] = balls[i][0];
            SaverScene.balls.posY[i] = balls[i][1];
            SaverScene.balls.heading[i] = balls[i][2];
            SaverScene.balls.steerCountdown[i] = 1000;  // straight on
        }
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                           {}};
        readBack_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS,
                                     reinterpret_cast<void**>(&readBits_), nullptr, 0);
        SelectObject(readDc_, readBack_);
    }
    void TearDown() override {
        DestroyWindow(window_);
        DeleteDC(readDc_);
        DeleteObject(readBack_);
        SaverCanvas.Destroy();
    }

    void Tick() {
        HDC dc = GetDC(window_);
        StepAndPresentFrame(dc);
        ReleaseDC(window_, dc);
    }
    void PaintOver(const RECT& area) {
        HDC dc = GetDC(window_);
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        ReleaseDC(window_, dc);
    }
    // Pixels of the window that differ from the canvas, read back through GDI.
    int Mismatches() {
        HDC dc = GetDC(window_);
        BitBlt(readDc_, 0, 0, Width, Height, dc, 0, 0, SRCCOPY);
        ReleaseDC(window_, dc);
        GdiFlush();
        int mismatches = 0;
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const uint8_t* p = SaverCanvas.RowPointer(y) + 3 * x;
                const uint32_t canvas = uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
                mismatches += (readBits_[y * Width + x] & 0x00FFFFFFu) != canvas;
            }
        }
        return mismatches;
    }

    HWND window_ = nullptr;
    HDC readDc_ = CreateCompatibleDC(nullptr);
    HBITMAP readBack_ = nullptr;
    uint32_t* readBits_ = nullptr;
};

TEST_F(PresentFrame, WindowShowsTheCanvasAfterEveryTick) {
    PaintOver({0, 0, Width, Height});
    for (int tick = 1; tick <= 12; ++tick) {
        Tick();
        ASSERT_EQ(Mismatches(), 0) << "tick " << tick;
    }
}

TEST_F(PresentFrame, PaintingOverHealsWithinASecondAndAnEraseByTheNextTick) {
    Tick();
    PaintOver({Width / 2, 0, Width, Height});
    int ticks = 0;
    while (Mismatches() != 0 && ticks < 100) Tick(), ++ticks;
    EXPECT_EQ(Mismatches(), 0) << "still damaged after " << ticks << " ticks";
    EXPECT_GT(ticks, 1) << "a whole copy every tick would heal at once";

    HDC dc = GetDC(window_);
    SaverWindowProc(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(window_, dc);
    Tick();
    EXPECT_EQ(Mismatches(), 0);
}

// Rows of another size or depth would be read wrongly or past their end: nothing is copied.
TEST_F(PresentFrame, CanvasWithoutUsablePixelsLeavesTheWindowAlone) {
    for (int depth : {0, 8}) {
        SCOPED_TRACE(depth);
        if (depth == 0)
            SaverCanvas.Destroy();
        else
            ASSERT_EQ(SaverCanvas.Create(Width, Height, depth), 1);
        const RECT all = {0, 0, Width, Height};
        PaintOver(all);
        const double roll = SaverScene.balls.rollPhase[0];
        Tick();
        EXPECT_EQ(SaverScene.balls.rollPhase[0], roll + 8);  // the scene ticks on unseen
        HDC dc = GetDC(window_);
        BitBlt(readDc_, 0, 0, Width, Height, dc, 0, 0, SRCCOPY);
        ReleaseDC(window_, dc);
        GdiFlush();
        int grey = 0;
        for (int i = 0; i < Width * Height; ++i) grey += (readBits_[i] & 0xFFFFFF) == 0x808080;
        EXPECT_EQ(grey, Width * Height);
    }
}

}  // namespace
