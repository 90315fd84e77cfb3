#pragma once

#include <X11/Xlib.h>

#include "frames/frame_loop.h"

// The monitors showing parts of the root window, in root-window coordinates, the primary first,
// as Xinerama reports them (the X server's RandR outputs, or its Xinerama heads). Writes up to
// MaxMonitors and returns how many; 0 when the server has no such layout (one monitor shows
// the whole root).
int ListMonitors(Display* display, PixelRect* monitors);
