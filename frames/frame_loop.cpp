#include "frames/frame_loop.h"

#include <algorithm>

#include "scene/frame_step.h"

namespace {

constexpr int64_t Second = 1000000000;

PixelRect Clip(const PixelRect& r, int32_t width, int32_t height) {
    return {std::max<int32_t>(r.left, 0), std::max<int32_t>(r.top, 0),
            std::min<int32_t>(r.right, width), std::min<int32_t>(r.bottom, height)};
}

bool IsEmpty(const PixelRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Same(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void AddCopy(FrameCopies* copies, const MonitorView& view, const PixelRect& source) {
    if (IsEmpty(source) || copies->count >= FrameCopies::Capacity) return;
    FrameCopyRect& copy = copies->rects[copies->count++];
    copy.canvas = &view.canvas;
    copy.source = source;
    copy.destX = view.place.left + source.left;
    copy.destY = view.place.top + source.top;
}

PixelRect WholeCanvas(const MonitorView& view) {
    return {0, 0, view.canvas.Width(), view.canvas.Height()};
}

}  // namespace

uint32_t MonitorSeed(uint32_t primarySeed, int index) {
    // An odd multiplier walks every 32-bit value before it repeats: no two indexes collide.
    return index == 0 ? primarySeed : primarySeed + static_cast<uint32_t>(index) * 0x9E3779B9u;
}

int StartFrameLoop(FrameLoop* loop, int32_t width, int32_t height, const PixelRect* monitors,
                   int monitorCount, uint32_t count, uint32_t seed, int64_t tickNanoseconds) {
    StopFrameLoop(loop);
    loop->width = std::max<int32_t>(width, 0);
    loop->height = std::max<int32_t>(height, 0);
    const PixelRect whole = {0, 0, loop->width, loop->height};
    PixelRect places[MaxMonitors];
    int placeCount = 0;
    for (int m = 0; m < monitorCount && placeCount < MaxMonitors; ++m) {
        const PixelRect place = Clip(monitors[m], loop->width, loop->height);
        if (IsEmpty(place)) continue;
        // A mirrored monitor shows the same pixels: one scene serves both.
        if (std::any_of(places, places + placeCount,
                        [&](const PixelRect& p) { return Same(p, place); }))
            continue;
        places[placeCount++] = place;
    }
    if (placeCount == 0) places[placeCount++] = whole;

    for (int v = 0; v < placeCount; ++v) {
        MonitorView& view = loop->views[v];
        view.place = places[v];
        const int32_t w = view.place.right - view.place.left;
        const int32_t h = view.place.bottom - view.place.top;
        // Without pixels the view stays harmless: nothing is drawn and nothing is copied.
        view.canvas.Create(w, h, 24);
        StartScene(&view.scene, w, h, count, MonitorSeed(seed, v));
    }
    loop->viewCount = placeCount;
    const int64_t tick = std::max<int64_t>(tickNanoseconds, 1);
    loop->ticksPerWholeCopy = static_cast<uint32_t>(std::clamp<int64_t>(Second / tick, 1, 1000000));
    loop->ticksSinceWholeCopy = 0;
    return placeCount;
}

void StepFrameLoop(FrameLoop* loop, FrameCopies* copies) {
    copies->count = 0;
    const bool heal = ++loop->ticksSinceWholeCopy >= loop->ticksPerWholeCopy;
    if (heal) loop->ticksSinceWholeCopy = 0;
    for (int v = 0; v < loop->viewCount; ++v) {
        MonitorView& view = loop->views[v];
        ChangedArea changed;
        StepScene(&view.scene, view.canvas, &changed);
        if (view.canvas.RowPointer(0) == nullptr) continue;
        if (heal || changed.whole) {
            AddCopy(copies, view, WholeCanvas(view));
            continue;
        }
        for (int k = 0; k < changed.count; ++k) AddCopy(copies, view, changed.rects[k]);
    }
}

void RequestWholeFrame(FrameLoop* loop) { loop->ticksSinceWholeCopy = loop->ticksPerWholeCopy; }

void ListViewCopies(const FrameLoop& loop, const PixelRect& area, FrameCopies* copies) {
    copies->count = 0;
    for (int v = 0; v < loop.viewCount; ++v) {
        const MonitorView& view = loop.views[v];
        if (view.canvas.RowPointer(0) == nullptr) continue;
        // The area in the view's canvas coordinates, clipped to the canvas.
        const PixelRect local = {area.left - view.place.left, area.top - view.place.top,
                                 area.right - view.place.left, area.bottom - view.place.top};
        AddCopy(copies, view, Clip(local, view.canvas.Width(), view.canvas.Height()));
    }
}

void StopFrameLoop(FrameLoop* loop) {
    for (int v = 0; v < loop->viewCount; ++v) loop->views[v].canvas.Destroy();
    loop->viewCount = 0;
}
