#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "frames/frame_loop.h"

// --fps: the frames per second and the share of a core the hack used, in small fixed-font text
// in the bottom-left corner of one monitor, renewed once a second. The text is drawn by the
// server over the picture, never into the canvas, so the scene's drawing stays its own.
struct FpsOverlay {
    Display* display = nullptr;
    Drawable window = 0;
    GC gc = nullptr;
    XFontStruct* font = nullptr;
    PixelRect box = {};  // where the text lies, window coordinates
    int baselineX = 0;
    int baselineY = 0;
    char text[48] = {};
    int length = 0;
    bool stale = true;  // the text must be drawn again
    int frames = 0;
    int64_t since = 0;     // wall clock, nanoseconds, at the last renewal
    int64_t cpuSince = 0;  // the process's CPU time then
};

// Places the overlay in `place` (the primary monitor, window coordinates), light on dark in the
// window's pixel values. 1 on success.
int StartFpsOverlay(FpsOverlay* overlay, Display* display, Drawable window, const PixelRect& place,
                    unsigned long foreground, unsigned long background);
void StopFpsOverlay(FpsOverlay* overlay);

// After one tick's copies: counts the frame, renews the text once a second, and draws it again
// where it changed or a copy went over it.
void DrawFpsOverlay(FpsOverlay* overlay, const FrameCopies& copies);

// An expose (or other repaint) covered this area: draw the text again at the next tick.
void TouchFpsOverlay(FpsOverlay* overlay, const PixelRect& area);
