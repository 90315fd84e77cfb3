#include "x11/hack_monitors.h"

#include <X11/extensions/Xinerama.h>

#include <algorithm>

int ListMonitors(Display* display, PixelRect* monitors) {
    int base = 0, error = 0;
    if (!XineramaQueryExtension(display, &base, &error) || !XineramaIsActive(display)) return 0;
    int count = 0;
    XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
    if (screens == nullptr) return 0;
    // Xinerama lists the primary first.
    count = std::min(count, MaxMonitors);
    for (int i = 0; i < count; ++i) {
        const XineramaScreenInfo& s = screens[i];
        monitors[i] = {s.x_org, s.y_org, s.x_org + s.width, s.y_org + s.height};
    }
    XFree(screens);
    return count;
}
