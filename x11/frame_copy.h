#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstddef>
#include <cstdint>

class RasterImage;
struct PixelRect;

// Where one canvas byte lands in a pixel: shifted up, then down, then masked.
struct ChannelPlace {
    int up = 0;
    int down = 0;
    uint32_t mask = 0;
};

// Copies canvas rectangles to a window in the server's pixel format. Each rectangle is converted
// into the next free stretch of a small staging area and put from there: writing a compact,
// recently used stretch costs far less than scattered rows of a window-sized image. The area
// lies in memory shared with the server where the server offers that, in the hack's own
// otherwise.
struct FrameCopy {
    Display* display = nullptr;
    // Describes the staging area; each put gets a copy with its own size and start.
    XImage* image = nullptr;
    XShmSegmentInfo segment = {};
    bool shared = false;
    size_t capacity = 0;
    // Bytes taken by shared puts since the server was last known to have read them all.
    size_t used = 0;
    ChannelPlace red, green, blue;
    // Bits of a 32-bit pixel outside the colour masks (alpha): set, so the picture is opaque.
    uint32_t opaque = 0;
};

// Makes a copier for windows of this visual and depth up to `width` pixels wide, in shared
// memory if `tryShared` and the server can. 1 on success; on failure nothing is left to free.
int CreateFrameCopy(Display* display, Visual* visual, int depth, int width, bool tryShared,
                    FrameCopy* copy);
void DestroyFrameCopy(FrameCopy* copy);

// Puts a rectangle of the canvas (24-bit), clipped to it, to the same place in the window.
void CopyCanvasRect(FrameCopy* copy, const RasterImage& canvas, Drawable window, GC gc,
                    const PixelRect& rect);
