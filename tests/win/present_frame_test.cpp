#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "shell/saver_shell.h"
#include "shell/saver_window.h"
#include "shell/scene_runner.h"

namespace {

constexpr int Width = 96;
constexpr int Height = 64;
// Two monitors of different heights with a gap between them: each canvas is copied to its own
// place, and nothing lands beside or below them.
constexpr PixelRect Monitors[] = {{0, 0, 40, Height}, {48, 0, Width, 40}};

// A plain top-level window the size of the desktop, painted only by what the test does, and a
// shell whose scenes have two balls crossing each monitor, so that each frame clears and draws
// in new places.
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
        // The window procedure finds the shell where the saver window keeps it.
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shell_.get()));
        ASSERT_EQ(StartFrameLoop(&shell_->Frames, Width, Height, Monitors, 2, 2, 1, 10000000), 2);
        for (MonitorView& view : Views()) {
            for (int i = 0; i < 2; ++i) {
                view.scene.balls.posX[i] = 10 + 20 * i;
                view.scene.balls.posY[i] = 20 + 18 * i;  // the second on the lower edge
                view.scene.balls.heading[i] = 180 * i;
                view.scene.balls.steerCountdown[i] = 1000;  // straight on
            }
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
        StopFrameLoop(&shell_->Frames);
    }

    // The views the shell's frame loop runs.
    std::vector<std::reference_wrapper<MonitorView>> Views() {
        return {shell_->Frames.views[0], shell_->Frames.views[1]};
    }
    // Runs f with a device context of the window.
    template <class F>
    void WithDc(F f) {
        HDC dc = GetDC(window_);
        f(dc);
        ReleaseDC(window_, dc);
    }
    void Tick() {
        WithDc([&](HDC dc) { StepAndPresentFrame(shell_.get(), dc); });
    }
    void PaintOver(const RECT& area) {
        WithDc([&](HDC dc) { FillRect(dc, &area, HBRUSH(GetStockObject(GRAY_BRUSH))); });
    }
    // Pixels of the window, read back through GDI, that differ from the canvas shown there, or
    // from `outside` where no canvas is shown or it has no 24-bit pixels.
    int Mismatches(uint32_t outside = 0x808080u) {
        WithDc([&](HDC dc) { BitBlt(readDc_, 0, 0, Width, Height, dc, 0, 0, SRCCOPY); });
        GdiFlush();
        std::vector<uint32_t> want(Width * Height, outside);
        for (const MonitorView& view : Views()) {
            const RasterImage& canvas = view.canvas;
            if (canvas.Depth() != 24) continue;
            for (int y = view.place.top; y < view.place.bottom; ++y) {
                for (int x = view.place.left; x < view.place.right; ++x) {
                    const uint8_t* p =
                        canvas.RowPointer(y - view.place.top) + 3 * (x - view.place.left);
                    want[y * Width + x] = p[2] << 16 | p[1] << 8 | p[0];
                }
            }
        }
        int mismatches = 0;
        for (int k = 0; k < Width * Height; ++k)
            mismatches += (readBits_[k] & 0x00FFFFFFu) != want[k];
        return mismatches;
    }

    std::unique_ptr<SaverShell> shell_ = std::make_unique<SaverShell>();
    HWND window_ = nullptr;
    HDC readDc_ = CreateCompatibleDC(nullptr);
    HBITMAP readBack_ = nullptr;
    uint32_t* readBits_ = nullptr;
};

TEST_F(PresentFrame, WindowShowsTheCanvasAfterEveryTickAndAllOfItAfterAnErase) {
    PaintOver({0, 0, Width, Height});
    for (int tick = 1; tick <= 12; ++tick) {
        Tick();
        ASSERT_EQ(Mismatches(), 0) << "tick " << tick;
    }
    // An erase paints the window black; the next tick puts the whole canvas back.
    WithDc([&](HDC dc) { SaverWindowProc(window_, WM_ERASEBKGND, WPARAM(dc), 0); });
    Tick();
    EXPECT_EQ(Mismatches(0), 0);
}

// Rows of another size or depth would be read wrongly or past their end: nothing is copied.
TEST_F(PresentFrame, CanvasWithoutUsablePixelsLeavesTheWindowAlone) {
    for (int depth : {0, 8}) {
        SCOPED_TRACE(depth);
        for (MonitorView& view : Views()) {
            if (depth == 0) view.canvas.Destroy();
            if (depth == 8) {
                ASSERT_EQ(view.canvas.Create(40, 40, depth), 1);
            }
        }
        PaintOver({0, 0, Width, Height});
        Tick();
        EXPECT_EQ(Mismatches(), 0);
    }
}

}  // namespace
