#include "x11/hack_loop.h"

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

#include "raster/raster_image.h"
#include "scene/frame_step.h"
#include "scene/random.h"
#include "scene/scene.h"
#include "x11/hack_options.h"
#include "x11/hack_window.h"
#include "x11/frame_copy.h"

namespace {

constexpr int64_t Second = 1000000000;
constexpr int64_t HealNanoseconds = 4 * Second;

volatile sig_atomic_t stopRequested = 0;
// The mask while the loop waits: the stop signals are let in there, and only there.
sigset_t waitMask;

void OnStopSignal(int) { stopRequested = 1; }

int64_t Now(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * Second + t.tv_nsec;
}

struct Hack {
    Hack(const HackOptions& o, HackWindow& w) : options(o), window(w) {}
    const HackOptions& options;
    HackWindow& window;
    GC gc = nullptr;
    uint32_t seed = 0;
    int64_t delay = 0;  // nanoseconds
    Scene scene;
    RasterImage canvas;
    FrameCopy copy;
    bool closeRequested = false;
    // The next rows to heal: see Tick.
    int32_t healRow = 0;
    // --fps: frames and process CPU time since the last report.
    int64_t reportedAt = 0;
    int64_t cpuAtReport = 0;
    int frames = 0;
};

void Copy(Hack* hack, const PixelRect& rect) {
    CopyCanvasRect(&hack->copy, hack->canvas, hack->window.window, hack->gc, rect);
}

// A new scene at the window's present size.
bool Restart(Hack* hack) {
    const int width = hack->window.width, height = hack->window.height;
    DestroyFrameCopy(&hack->copy);
    if (hack->canvas.Create(width, height, 24) != 1 ||
        !CreateFrameCopy(hack->window.display, hack->window.visual, hack->window.depth, width,
                         hack->options.sharedMemory, &hack->copy)) {
        std::fprintf(stderr, "zova-x11: cannot make a %dx%d picture\n", width, height);
        return false;
    }
    StartScene(&hack->scene, width, height, hack->options.count, hack->seed);
    hack->healRow = 0;
    return true;
}

void Tick(Hack* hack) {
    ChangedArea changed;
    StepScene(&hack->scene, hack->canvas, &changed);
    const RasterImage& canvas = hack->canvas;
    if (changed.whole) {
        Copy(hack, {0, 0, canvas.Width(), canvas.Height()});
    } else {
        for (int i = 0; i < changed.count; ++i) Copy(hack, changed.rects[i]);
        // The server reports damage with Expose, but on a shared window (the root) another
        // client may draw over the balls unannounced: a band of rows each tick puts the whole
        // picture back every few seconds, evenly rather than in one costly frame.
        const int64_t ticks = HealNanoseconds / std::max<int64_t>(hack->delay, 1000000);
        const int32_t rows = static_cast<int32_t>((canvas.Height() + ticks - 1) / ticks);
        Copy(hack, {0, hack->healRow, canvas.Width(), hack->healRow + rows});
        hack->healRow = hack->healRow + rows < canvas.Height() ? hack->healRow + rows : 0;
    }
    XFlush(hack->window.display);
}

// Frames are counted from one report to the next: each tick belongs to the second it starts.
void ReportPace(Hack* hack, int64_t now) {
    const int64_t elapsed = now - hack->reportedAt;
    if (elapsed >= Second) {
        const int64_t cpu = Now(CLOCK_PROCESS_CPUTIME_ID);
        std::fprintf(stderr, "zova-x11: %.1f fps, %.2f cores\n", hack->frames * 1e9 / elapsed,
                     static_cast<double>(cpu - hack->cpuAtReport) / elapsed);
        hack->reportedAt = now;
        hack->cpuAtReport = cpu;
        hack->frames = 0;
    }
    ++hack->frames;
}

void HandleEvent(Hack* hack, const XEvent& event) {
    HackWindow& window = hack->window;
    switch (event.type) {
        case Expose: {
            const XExposeEvent& e = event.xexpose;
            Copy(hack, {e.x, e.y, e.x + e.width, e.y + e.height});
            break;
        }
        case ConfigureNotify:
            // The scene restarts at the next tick, after any further resizes queued with this.
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

void CatchStopSignals() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);
}

int RunHack(const HackOptions& options, HackWindow* window) {
    auto hack = std::make_unique<Hack>(options, *window);
    Display* display = window->display;
    hack->seed = options.seed;
    if (!options.seedGiven) SeedRandom(&hack->seed);
    hack->gc = XCreateGC(display, window->window, 0, nullptr);
    int status = Restart(hack.get()) ? 0 : 1;

    hack->delay = options.delayMicroseconds * 1000;
    int64_t next = Now(CLOCK_MONOTONIC);
    hack->reportedAt = next;
    hack->cpuAtReport = Now(CLOCK_PROCESS_CPUTIME_ID);
    // Whether the server may have sent something: after a quiet wait there is nothing to read.
    bool readable = true;
    while (status == 0 && !stopRequested) {
        while (!HackWindowGone() && (readable || XQLength(display) > 0) && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            HandleEvent(hack.get(), event);
        }
        if (HackWindowGone() || hack->closeRequested) break;
        int64_t now = Now(CLOCK_MONOTONIC);
        if (now >= next) {
            if (window->width != hack->canvas.Width() || window->height != hack->canvas.Height())
                if (!Restart(hack.get())) status = 1;
            if (status == 0) Tick(hack.get());
            if (options.showFps) ReportPace(hack.get(), now);
            // A late tick does not make the next ones hurry.
            next = std::max(next + hack->delay, now);
            now = Now(CLOCK_MONOTONIC);
        }
        // Events read while ticking are handled without waiting.
        const int64_t wait = XQLength(display) > 0 ? 0 : std::max<int64_t>(next - now, 0);
        const timespec timeout = {static_cast<time_t>(wait / Second),
                                  static_cast<long>(wait % Second)};
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        readable = ppoll(&connection, 1, &timeout, &waitMask) != 0;
    }
    DestroyFrameCopy(&hack->copy);
    XFreeGC(display, hack->gc);
    return status;
}
