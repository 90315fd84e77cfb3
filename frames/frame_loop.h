#pragma once

#include <cstdint>

#include "raster/raster_image.h"
#include "scene/changed_area.h"
#include "scene/scene.h"

// The most monitors one window shows a scene on; further ones stay black.
constexpr int MaxMonitors = 16;

// One monitor's scene on a canvas of that monitor's size, shown at `place` in the window.
struct MonitorView {
    Scene scene;
    RasterImage canvas;
    PixelRect place = {};  // window coordinates; the canvas is place's width x height
};

// One copy a front end makes this tick: `source` of the view's canvas (canvas coordinates) to
// the same-sized rectangle at (destX, destY) of the window.
struct FrameCopyRect {
    const RasterImage* canvas = nullptr;
    PixelRect source = {};
    int32_t destX = 0;
    int32_t destY = 0;
};

// What to copy after one tick: each view's changed area, or its whole canvas when it heals.
struct FrameCopies {
    static constexpr int Capacity = MaxMonitors * ChangedArea::Capacity;
    int count = 0;
    FrameCopyRect rects[Capacity];
};

// The scenes of one window and what each tick sends to it. Both front ends run it: they keep
// their own timer or event loop and their own pixel copy.
struct FrameLoop {
    int32_t width = 0;  // the window's size
    int32_t height = 0;
    int viewCount = 0;
    MonitorView views[MaxMonitors];
    // Whatever was drawn over the window unannounced heals: every canvas goes to the window whole
    // at least once in this many ticks (a second's worth).
    uint32_t ticksPerWholeCopy = 1;
    uint32_t ticksSinceWholeCopy = 0;
};

// Lays out the scenes of a width x height window. `monitors` are in window coordinates, the
// primary first; each is clipped to the window, and empty or repeated ones are skipped. With no
// monitor left the whole window is one. The primary's scene starts with `seed` exactly as a
// window's only scene would; every other one with the same count and a seed of its own. Each
// canvas is 24 bits; one that cannot be made stays empty and its scene draws nothing.
// `tickNanoseconds` sets the healing pace. Returns the number of views.
int StartFrameLoop(FrameLoop* loop, int32_t width, int32_t height, const PixelRect* monitors,
                   int monitorCount, uint32_t count, uint32_t seed, int64_t tickNanoseconds);

// One tick of every scene; `copies` receives what to send to the window, in window coordinates.
void StepFrameLoop(FrameLoop* loop, FrameCopies* copies);

// The window was painted over (erased, exposed as a whole): the next tick sends every canvas.
void RequestWholeFrame(FrameLoop* loop);

// Every view's canvas as copies, for a front end that must repaint at once (an expose): the
// parts of the views that meet `area` (window coordinates).
void ListViewCopies(const FrameLoop& loop, const PixelRect& area, FrameCopies* copies);

// Frees every canvas: nothing is drawn or copied until the next start.
void StopFrameLoop(FrameLoop* loop);

// The seed of the scene on the monitor after the primary's `index` places later: distinct for
// every index, so the monitors do not move in lockstep.
uint32_t MonitorSeed(uint32_t primarySeed, int index);
