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
        ASSERT_EQ(SaverCanvas.Create(Width, Height, 24), 1);
        StartScene(&SaverScene, Width, Height, 2, 1);
        for (int i = 0; i < 2; ++i) {
            SaverScene.balls.posX[i] = 10 + 70 * i;
            SaverScene.balls.posY[i] = 20 + 20 * i;
            SaverScene.balls.heading[i] = 180 * i;
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

    // Runs f with a device context of the window.
    template <class F>
    void WithDc(F f) {
        HDC dc = GetDC(window_);
        f(dc);
        ReleaseDC(window_, dc);
    }
    void Tick() { WithDc(StepAndPresentFrame); }
    void PaintOver(const RECT& area) {
        WithDc([&](HDC dc) { FillRect(dc, &area, HBRUSH(GetStockObject(GRAY_BRUSH))); });
    }
    // Pixels of the window, read back through GDI, that differ from the canvas (from grey when
    // the canvas has no 24-bit pixels).
    int Mismatches() {
        WithDc([&](HDC dc) { BitBlt(readDc_, 0, 0, Width, Height, dc, 0, 0, SRCCOPY); });
        GdiFlush();
        int mismatches = 0;
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const uint8_t* p = SaverCanvas.RowPointer(y) + 3 * x;
                const uint32_t want =
                    SaverCanvas.Depth() != 24 ? 0x808080u : p[2] << 16 | p[1] << 8 | p[0];
                mismatches += (readBits_[y * Width + x] & 0x00FFFFFFu) != want;
            }
        }
        return mismatches;
    }

    HWND window_ = nullptr;
    HDC readDc_ = CreateCompatibleDC(nullptr);
    HBITMAP readBack_ = nullptr;
    uint32_t* readBits_ = nullptr;
};

TEST_F(PresentFrame, WindowShowsTheCanvasAfterEveryTickAndHealsFromPaintingOver) {
    PaintOver({0, 0, Width, Height});
    for (int tick = 1; tick <= 12; ++tick) {
        Tick();
        ASSERT_EQ(Mismatches(), 0) << "tick " << tick;
    }
    // Painted over without an erase: healed within a second of ticks, not by every tick.
    PaintOver({Width / 2, 0, Width, Height});
    int ticks = 0;
    while (Mismatches() != 0 && ticks < 100) Tick(), ++ticks;
    EXPECT_EQ(Mismatches(), 0) << "still damaged after " << ticks << " ticks";
    EXPECT_GT(ticks, 1);
    // An erase paints the window black; the next tick puts the whole canvas back.
    WithDc([&](HDC dc) { SaverWindowProc(window_, WM_ERASEBKGND, WPARAM(dc), 0); });
    Tick();
    EXPECT_EQ(Mismatches(), 0);
}

// Rows of another size or depth would be read wrongly or past their end: nothing is copied.
TEST_F(PresentFrame, CanvasWithoutUsablePixelsLeavesTheWindowAlone) {
    for (int depth : {0, 8}) {
        SCOPED_TRACE(depth);
        if (depth == 0) SaverCanvas.Destroy();
        if (depth == 8) {
            ASSERT_EQ(SaverCanvas.Create(Width, Height, depth), 1);
        }
        PaintOver({0, 0, Width, Height});
        Tick();
        EXPECT_EQ(Mismatches(), 0);
    }
}

}  // namespace
