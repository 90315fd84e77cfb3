#include "x11/hack_loop.h"

#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

#include "frames/frame_loop.h"
#include "scene/random.h"
#include "x11/fps_overlay.h"
#include "x11/frame_copy.h"
#include "x11/hack_monitors.h"
#include "x11/hack_options.h"
#include "x11/hack_window.h"
#include "x11/stop_signals.h"

namespace {

constexpr int64_t Second = 1000000000;

int64_t Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * Second + t.tv_nsec;
}

struct Hack {
    Hack(const HackOptions& o, HackWindow& w) : options(o), window(w) {}
    const HackOptions& options;
    HackWindow& window;
    GC gc = nullptr;
    uint32_t seed = 0;
    int64_t delay = 0;  // nanoseconds
    FrameLoop loop;
    FrameCopies copies;
    FrameCopy copy;
    FpsOverlay fps;
    // The parts of the window no monitor shows: kept black.
    Region gaps = nullptr;
    int32_t width = 0;  // the size the scenes were made for
    int32_t height = 0;
    bool closeRequested = false;
    bool warnedColours = false;
};

void SendCopies(Hack* hack) {
    for (int i = 0; i < hack->copies.count; ++i)
        CopyCanvasRect(&hack->copy, hack->copies.rects[i], hack->window.window, hack->gc);
}

// Blackens the gaps within `area` (window coordinates).
void FillGaps(Hack* hack, const PixelRect& area) {
    if (XEmptyRegion(hack->gaps)) return;
    Region part = XCreateRegion();
    XRectangle r = {static_cast<short>(area.left), static_cast<short>(area.top),
                    static_cast<unsigned short>(area.right - area.left),
                    static_cast<unsigned short>(area.bottom - area.top)};
    XUnionRectWithRegion(&r, part, part);
    XIntersectRegion(part, hack->gaps, part);
    if (!XEmptyRegion(part)) {
        XSetRegion(hack->window.display, hack->gc, part);
        XFillRectangle(hack->window.display, hack->window.window, hack->gc, area.left, area.top,
                       area.right - area.left, area.bottom - area.top);
        XSetClipMask(hack->window.display, hack->gc, 0);
    }
    XDestroyRegion(part);
}

// Scenes for the window's present size and monitors.
bool Restart(Hack* hack) {
    HackWindow& window = hack->window;
    hack->width = window.width;
    hack->height = window.height;
    DestroyFrameCopy(&hack->copy);
    PixelRect monitors[MaxMonitors];
    const int monitorCount = window.root ? ListMonitors(window.display, monitors) : 0;
    StartFrameLoop(&hack->loop, window.width, window.height, monitors, monitorCount,
                   hack->options.count, hack->seed, hack->delay);
    int32_t widest = 0;
    bool made = true;
    for (int v = 0; v < hack->loop.viewCount; ++v) {
        widest = std::max(widest, hack->loop.views[v].canvas.Width());
        made = made && hack->loop.views[v].canvas.RowPointer(0) != nullptr;
    }
    if (!made || !CreateFrameCopy(window.display, window.visual, window.depth, window.colormap,
                                  widest, hack->options.sharedMemory, &hack->copy)) {
        std::fprintf(stderr, "zova-x11: cannot make a %dx%d picture\n", window.width,
                     window.height);
        return false;
    }
    const PixelFormat& format = hack->copy.format;
    if (format.missingColours > 0 && !hack->warnedColours) {
        std::fprintf(stderr,
                     "zova-x11: the colormap has no room for %d of the balls' colours: they "
                     "show in the nearest colours it has, or black\n",
                     format.missingColours);
        hack->warnedColours = true;
    }
    XSetForeground(window.display, hack->gc, PixelOf(format, 0));

    if (hack->gaps != nullptr) XDestroyRegion(hack->gaps);
    hack->gaps = XCreateRegion();
    Region covered = XCreateRegion();
    XRectangle whole = {0, 0, static_cast<unsigned short>(window.width),
                        static_cast<unsigned short>(window.height)};
    XUnionRectWithRegion(&whole, hack->gaps, hack->gaps);
    for (int v = 0; v < hack->loop.viewCount; ++v) {
        const PixelRect& p = hack->loop.views[v].place;
        XRectangle r = {static_cast<short>(p.left), static_cast<short>(p.top),
                        static_cast<unsigned short>(p.right - p.left),
                        static_cast<unsigned short>(p.bottom - p.top)};
        XUnionRectWithRegion(&r, covered, covered);
    }
    XSubtractRegion(hack->gaps, covered, hack->gaps);
    XDestroyRegion(covered);
    FillGaps(hack, {0, 0, window.width, window.height});

    if (hack->options.showFps &&
        !StartFpsOverlay(&hack->fps, window.display, window.window, hack->loop.views[0].place,
                         PixelOf(format, 0xFFFFFF), PixelOf(format, 0)))
        std::fputs("zova-x11: no font 'fixed' for the frame rate\n", stderr);
    return true;
}

void Tick(Hack* hack) {
    StepFrameLoop(&hack->loop, &hack->copies);
    SendCopies(hack);
    DrawFpsOverlay(&hack->fps, hack->copies);
    XFlush(hack->window.display);
}

void HandleEvent(Hack* hack, const XEvent& event) {
    HackWindow& window = hack->window;
    switch (event.type) {
        case Expose: {
            const XExposeEvent& e = event.xexpose;
            const PixelRect area = {e.x, e.y, e.x + e.width, e.y + e.height};
            ListViewCopies(hack->loop, area, &hack->copies);
            SendCopies(hack);
            FillGaps(hack, area);
            TouchFpsOverlay(&hack->fps, area);
            break;
        }
        case ConfigureNotify:
            // The scenes restart at the next tick, after any further resizes queued with this.
            if (event.xconfigure.window == window.window) {
                window.width = event.xconfigure.width;
                window.height = event.xconfigure.height;
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == window.window) MarkHackWindowGone();
            break;
        case ClientMessage:
            if (event.xclient.message_type == window.protocols && window.deleteWindow != 0 &&
                static_cast<Atom>(event.xclient.data.l[0]) == window.deleteWindow)
                hack->closeRequested = true;
            break;
    }
}

}  // namespace

int RunHack(const HackOptions& options, HackWindow* window) {
    // Far too large for the stack: sixteen scenes with their canvases' palettes.
    auto hack = std::make_unique<Hack>(options, *window);
    Display* display = window->display;
    hack->seed = options.seed;
    if (!options.seedGiven) SeedRandom(&hack->seed);
    // Without balls nothing moves: a tick a second keeps the healing and the frame-rate text,
    // and the hack sleeps in between.
    hack->delay = options.count == 0 ? Second : options.delayMicroseconds * 1000;
    hack->gc = XCreateGC(display, window->window, 0, nullptr);
    int status = Restart(hack.get()) ? 0 : 1;

    int64_t next = Now();
    // Whether the server may have sent something: after a quiet wait there is nothing to read.
    bool readable = true;
    while (status == 0 && StopSignal() == 0) {
        while (!HackWindowGone() && (readable || XQLength(display) > 0) && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            HandleEvent(hack.get(), event);
        }
        if (HackWindowGone() || hack->closeRequested) break;
        int64_t now = Now();
        if (now >= next) {
            if (window->width != hack->width || window->height != hack->height)
                if (!Restart(hack.get())) status = 1;
            if (status == 0) Tick(hack.get());
            // A late tick does not make the next ones hurry.
            next = std::max(next + hack->delay, now);
            now = Now();
        }
        // Events read while ticking are handled without waiting.
        const int64_t wait = XQLength(display) > 0 ? 0 : std::max<int64_t>(next - now, 0);
        const timespec timeout = {static_cast<time_t>(wait / Second),
                                  static_cast<long>(wait % Second)};
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        readable = ppoll(&connection, 1, &timeout, StopWaitMask()) != 0;
    }
    StopFpsOverlay(&hack->fps);
    StopFrameLoop(&hack->loop);
    DestroyFrameCopy(&hack->copy);
    if (hack->gaps != nullptr) XDestroyRegion(hack->gaps);
    XFreeGC(display, hack->gc);
    return status;
}
