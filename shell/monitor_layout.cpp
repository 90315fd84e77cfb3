#include "shell/monitor_layout.h"

#include <algorithm>
#include <cstdint>

#include "scene/changed_area.h"

namespace {

struct Enumeration {
    POINT origin;
    PixelRect* monitors;
    int capacity;
    int count;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* e = reinterpret_cast<Enumeration*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (e->count >= e->capacity || !GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    e->monitors[e->count] = {r.left - e->origin.x, r.top - e->origin.y, r.right - e->origin.x,
                             r.bottom - e->origin.y};
    // The primary's scene is the one a single-monitor saver has: it goes first.
    if (info.dwFlags & MONITORINFOF_PRIMARY) std::swap(e->monitors[0], e->monitors[e->count]);
    ++e->count;
    return TRUE;
}

}  // namespace

RECT VirtualScreenRect() {
    RECT rect = {};
    if (GetSystemMetrics(SM_CMONITORS) <= 1) {
        // One monitor: the screen as a device context of it sees it, at (0, 0).
        HDC screen = GetDC(nullptr);
        rect = {0, 0, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
        ReleaseDC(nullptr, screen);
    } else {
        rect.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        rect.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        rect.right = rect.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
        rect.bottom = rect.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    }
    // Beyond 16 bits the window keeps its first 32767 pixels each way; monitors past them are
    // cut off there.
    rect.right = rect.left + std::min(rect.right - rect.left, LONG{INT16_MAX});
    rect.bottom = rect.top + std::min(rect.bottom - rect.top, LONG{INT16_MAX});
    return rect;
}

int ReadMonitorLayout(POINT origin, PixelRect* monitors, int capacity) {
    Enumeration e = {origin, monitors, capacity, 0};
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&e));
    return e.count;
}
