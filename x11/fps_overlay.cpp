#include "x11/fps_overlay.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int64_t Second = 1000000000;
constexpr int Margin = 4;

int64_t Now(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * Second + t.tv_nsec;
}

bool Meet(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void SetText(FpsOverlay* overlay, double fps, double cores) {
    // Fixed widths, so the shorter texts cover the longer ones they replace.
    overlay->length = std::snprintf(overlay->text, sizeof overlay->text, "%6.1f fps %5.1f%% CPU",
                                    fps, cores * 100.0);
    overlay->length = std::clamp(overlay->length, 0, int{sizeof overlay->text} - 1);
    overlay->stale = true;
}

}  // namespace

int StartFpsOverlay(FpsOverlay* overlay, Display* display, Drawable window, const PixelRect& place,
                    unsigned long foreground, unsigned long background) {
    StopFpsOverlay(overlay);
    overlay->font = XLoadQueryFont(display, "fixed");
    if (overlay->font == nullptr) return 0;
    overlay->display = display;
    overlay->window = window;
    XGCValues values = {};
    values.foreground = foreground;
    values.background = background;
    values.font = overlay->font->fid;
    overlay->gc = XCreateGC(display, window, GCForeground | GCBackground | GCFont, &values);
    SetText(overlay, 0.0, 0.0);
    const int width = XTextWidth(overlay->font, overlay->text, overlay->length);
    const int ascent = overlay->font->ascent, descent = overlay->font->descent;
    overlay->baselineX = place.left + Margin;
    overlay->baselineY = place.bottom - Margin - descent;
    overlay->box = {overlay->baselineX, overlay->baselineY - ascent, overlay->baselineX + width,
                    overlay->baselineY + descent};
    overlay->since = Now(CLOCK_MONOTONIC);
    overlay->cpuSince = Now(CLOCK_PROCESS_CPUTIME_ID);
    overlay->frames = 0;
    return 1;
}

void StopFpsOverlay(FpsOverlay* overlay) {
    if (overlay->display == nullptr) return;
    XFreeGC(overlay->display, overlay->gc);
    XFreeFont(overlay->display, overlay->font);
    *overlay = FpsOverlay{};
}

void DrawFpsOverlay(FpsOverlay* overlay, const FrameCopies& copies) {
    if (overlay->display == nullptr) return;
    ++overlay->frames;
    const int64_t now = Now(CLOCK_MONOTONIC);
    if (now - overlay->since >= Second) {
        const int64_t cpu = Now(CLOCK_PROCESS_CPUTIME_ID);
        const double elapsed = static_cast<double>(now - overlay->since);
        SetText(overlay, overlay->frames * 1e9 / elapsed, (cpu - overlay->cpuSince) / elapsed);
        overlay->since = now;
        overlay->cpuSince = cpu;
        overlay->frames = 0;
    }
    for (int i = 0; i < copies.count && !overlay->stale; ++i) {
        const FrameCopyRect& c = copies.rects[i];
        const PixelRect dest = {c.destX, c.destY, c.destX + c.source.right - c.source.left,
                                c.destY + c.source.bottom - c.source.top};
        overlay->stale = Meet(dest, overlay->box);
    }
    if (!overlay->stale) return;
    XDrawImageString(overlay->display, overlay->window, overlay->gc, overlay->baselineX,
                     overlay->baselineY, overlay->text, overlay->length);
    overlay->stale = false;
}

void TouchFpsOverlay(FpsOverlay* overlay, const PixelRect& area) {
    if (Meet(area, overlay->box)) overlay->stale = true;
}
