#pragma once

#include <windows.h>

struct PixelRect;

// The virtual screen (every monitor's bounding box), in screen coordinates, its size brought
// into the 16 bits the window's size is kept in.
RECT VirtualScreenRect();

// The monitors' rectangles relative to `origin`, the primary first; at most `capacity`.
// Returns how many.
int ReadMonitorLayout(POINT origin, PixelRect* monitors, int capacity);
