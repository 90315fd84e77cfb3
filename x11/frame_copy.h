#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstddef>
#include <cstdint>

class RasterImage;
struct FrameCopyRect;

// Where one canvas byte lands in a pixel: shifted up, then down, then masked.
struct ChannelPlace {
    int up = 0;
    int down = 0;
    uint32_t mask = 0;
};

// How canvas colours become the window's pixel values. TrueColor visuals take the colour's top
// bits into their masks; every other visual (8-bit PseudoColor above all) gets the few colours
// the scene paints allocated in the window's colormap, and every canvas colour shows as the
// nearest of them.
struct PixelFormat {
    bool trueColour = false;
    ChannelPlace red, green, blue;
    // Bits of a 32-bit pixel outside the colour masks (alpha): set, so the picture is opaque.
    uint32_t opaque = 0;
    static constexpr int MaxColours = 8;
    int colourCount = 0;
    uint32_t colourRgb[MaxColours] = {};  // 0xRRGGBB
    unsigned long colourPixel[MaxColours] = {};
    // Colours that could not be allocated (their canvas pixels show as the nearest ones that
    // could, or black).
    int missingColours = 0;
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
    PixelFormat format;
};

// Makes a copier for windows of this visual, depth and colormap up to `width` pixels wide, in
// shared memory if `tryShared` and the server can. 1 on success; on failure nothing is left to
// free. Colours a non-TrueColor colormap cannot give are counted in format.missingColours.
int CreateFrameCopy(Display* display, Visual* visual, int depth, Colormap colormap, int width,
                    bool tryShared, FrameCopy* copy);
void DestroyFrameCopy(FrameCopy* copy);

// The window's pixel value for a colour (0xRRGGBB).
unsigned long PixelOf(const PixelFormat& format, uint32_t rgb);

// Puts one listed copy (its source clipped to the canvas, which must be 24-bit) to the window.
void CopyCanvasRect(FrameCopy* copy, const FrameCopyRect& rect, Drawable window, GC gc);
