#include "scene/changed_area.h"

#include <algorithm>

namespace {

bool IsEmpty(const PixelRect& r) { return r.right <= r.left || r.bottom <= r.top; }

int64_t Area(const PixelRect& r) { return int64_t{r.right - r.left} * int64_t{r.bottom - r.top}; }

PixelRect Union(const PixelRect& a, const PixelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// Worth one copy instead of two: the bounding box wastes no more than a copy's own overhead,
// counted here as a small block of pixels. Overlapping or touching rectangles of a moving ball
// (its last drawing and this one) always qualify.
constexpr int64_t CopyOverheadPixels = 256;

bool WorthMerging(const PixelRect& a, const PixelRect& b) {
    return Area(Union(a, b)) <= Area(a) + Area(b) + CopyOverheadPixels;
}

}  // namespace

void AddChangedRect(ChangedArea* area, const PixelRect& rect) {
    if (area->whole || IsEmpty(rect)) return;
    if (area->count == ChangedArea::Capacity) {
        area->whole = true;
        return;
    }
    area->rects[area->count++] = rect;
}

void AddChangedPair(ChangedArea* area, const PixelRect& a, const PixelRect& b) {
    if (IsEmpty(a) || IsEmpty(b) || !WorthMerging(a, b)) {
        AddChangedRect(area, a);
        AddChangedRect(area, b);
        return;
    }
    AddChangedRect(area, Union(a, b));
}

void MergeChangedRects(ChangedArea* area) {
    if (area->whole) {
        area->count = 0;
        return;
    }
    // Each rectangle takes in every later one worth it, again while it grows. A pair left apart
    // only costs a pixel copied twice.
    for (int i = 0; i < area->count; ++i) {
        bool grew = true;
        while (grew) {
            grew = false;
            for (int j = i + 1; j < area->count; ++j) {
                if (!WorthMerging(area->rects[i], area->rects[j])) continue;
                area->rects[i] = Union(area->rects[i], area->rects[j]);
                area->rects[j--] = area->rects[--area->count];
                grew = true;
            }
        }
    }
}
