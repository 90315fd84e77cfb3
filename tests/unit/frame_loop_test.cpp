#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frames/frame_loop.h"
#include "scene/frame_step.h"

namespace {

constexpr int64_t TenMs = 10000000;

bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Monitors in window coordinates (the shell moves the virtual origin to 0, 0), the views
// expected. A monitor left of and above the primary lies at positive window coordinates all the
// same; parts beyond the window are cut off; a mirrored monitor shares its twin's scene.
TEST(FrameLoop, LaysOutOneViewPerMonitor) {
    const struct {
        const char* name;
        int32_t width, height;
        std::vector<PixelRect> monitors, views;
    } layouts[] = {
        {"one", 1280, 1024, {{0, 0, 1280, 1024}}, {{0, 0, 1280, 1024}}},
        {"second left of and above",
         2304,
         1280,
         {{1024, 256, 2304, 1280}, {0, 0, 1024, 768}},
         {{1024, 256, 2304, 1280}, {0, 0, 1024, 768}}},
        {"mirrored, clipped, empty",
         500,
         400,
         {{0, 0, 500, 400}, {0, 0, 500, 400}, {400, 300, 900, 700}, {10, 10, 10, 50}},
         {{0, 0, 500, 400}, {400, 300, 500, 400}}},
        {"none", 64, 48, {}, {{0, 0, 64, 48}}},
    };
    for (const auto& l : layouts) {
        SCOPED_TRACE(l.name);
        FrameLoop loop;
        const int views = StartFrameLoop(&loop, l.width, l.height, l.monitors.data(),
                                         int(l.monitors.size()), 3, 77, TenMs);
        ASSERT_EQ(views, int(l.views.size()));
        for (int v = 0; v < views; ++v) {
            const MonitorView& view = loop.views[v];
            EXPECT_TRUE(view.place == l.views[v]) << v;
            EXPECT_EQ(view.canvas.Width(), l.views[v].right - l.views[v].left) << v;
            EXPECT_EQ(view.canvas.Height(), l.views[v].bottom - l.views[v].top) << v;
            EXPECT_TRUE(view.scene.width == view.canvas.Width() &&
                        view.scene.height == view.canvas.Height() && view.scene.ballCount == 3);
        }
        // Each further monitor moves on its own, the primary as a window's only scene would.
        for (int v = 1; v < views; ++v)
            EXPECT_NE(loop.views[v].scene.randomState, loop.views[0].scene.randomState);
        StopFrameLoop(&loop);
    }
}

// One monitor: the loop's scene is the one a window had before, started alike.
TEST(FrameLoop, OneMonitorStartsTheWindowsOnlyScene) {
    const PixelRect monitor = {0, 0, 200, 150};
    FrameLoop loop;
    StartFrameLoop(&loop, 200, 150, &monitor, 1, 30, 12345, TenMs);
    Scene scene;
    StartScene(&scene, 200, 150, 30, 12345);
    EXPECT_EQ(std::memcmp(&loop.views[0].scene.balls, &scene.balls, sizeof scene.balls), 0);
    EXPECT_EQ(loop.views[0].scene.randomState, scene.randomState);
}

// Over any second of ticks every pixel of every view goes to the window at least once, and every
// copy lands where its view lies; an erase sends everything on the next tick.
TEST(FrameLoop, SendsEveryPixelEverySecondWhereItsViewLies) {
    const PixelRect monitors[] = {{0, 0, 120, 90}, {130, 10, 230, 70}};
    FrameLoop loop;
    StartFrameLoop(&loop, 230, 90, monitors, 2, 5, 9, 20000000);  // 50 ticks a second
    std::vector<int> lastSent(230 * 90, 0);
    FrameCopies copies;
    int wholeTicks = 0;  // all of both views sent
    for (int tick = 1; tick <= 160; ++tick) {
        if (tick == 120) RequestWholeFrame(&loop);
        StepFrameLoop(&loop, &copies);
        int area = 0;
        for (int k = 0; k < copies.count; ++k) {
            const FrameCopyRect& c = copies.rects[k];
            const MonitorView* view = nullptr;
            for (int v = 0; v < loop.viewCount; ++v)
                if (&loop.views[v].canvas == c.canvas) view = &loop.views[v];
            ASSERT_NE(view, nullptr);
            ASSERT_TRUE(c.destX == view->place.left + c.source.left &&
                        c.destY == view->place.top + c.source.top);
            ASSERT_TRUE(c.source.left >= 0 && c.source.top >= 0 &&
                        c.source.right <= c.canvas->Width() &&
                        c.source.bottom <= c.canvas->Height());
            for (int y = c.destY; y < c.destY + c.source.bottom - c.source.top; ++y)
                for (int x = c.destX; x < c.destX + c.source.right - c.source.left; ++x)
                    lastSent[y * 230 + x] = tick;
            area += (c.source.right - c.source.left) * (c.source.bottom - c.source.top);
        }
        wholeTicks += area >= 120 * 90 + 100 * 60;
        for (const PixelRect& m : monitors)
            for (int y = m.top; y < m.bottom; ++y)
                for (int x = m.left; x < m.right; ++x)
                    ASSERT_GT(lastSent[y * 230 + x], tick - 50) << x << "," << y << " " << tick;
    }
    // The first frame, then once a second and on the request: not on every tick.
    EXPECT_EQ(wholeTicks, 4);
    // Outside every monitor nothing is ever copied.
    EXPECT_EQ(lastSent[5 * 230 + 125], 0);
    // An expose of a strip across both views lists exactly its parts on each.
    ListViewCopies(loop, {100, 20, 150, 30}, &copies);
    ASSERT_EQ(copies.count, 2);
    EXPECT_TRUE(copies.rects[0].source == PixelRect({100, 20, 120, 30}));
    EXPECT_TRUE(copies.rects[1].source == PixelRect({0, 10, 20, 20}) &&
                copies.rects[1].destX == 130 && copies.rects[1].destY == 20);
}

}  // namespace
