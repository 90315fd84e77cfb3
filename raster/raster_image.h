#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/pixel_plane.h"

// A 4-byte palette entry in the order the display expects: blue, green, red, reserved (0).
struct PaletteEntry {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};

// The off-screen canvas: a bottom-up device-independent bitmap (rows padded to 32-bit words,
// the bottom row first in memory, row 0 at the top of the picture). Writes pixels at 8 and 24
// bits; accepts 1, 3, 4, 8, 16, 24 and 48 bits per pixel.
class RasterImage : public PixelPlane {
  public:
    RasterImage();
    ~RasterImage();

    static int IsSupportedDepth(int32_t depth);
    // 1 on success. An unsupported depth changes nothing; any other failure leaves it empty.
    int Create(int32_t width, int32_t height, int32_t depth);
    void Destroy();

    int32_t Height() const { return height_; }
    int32_t Width() const { return width_; }
    int32_t Depth() const { return depth_; }
    int32_t Stride() const { return stride_; }
    int32_t PaletteCount() const { return paletteCount_; }
    PaletteEntry PaletteAt(int index) const { return palette_[index & 0xFF]; }
    // Changes with every Create and Destroy, and no two images share one: whoever keeps track of
    // what the pixels hold can tell that they are new.
    uint32_t Generation() const { return generation_; }

    // First byte of row y (0 = top of the picture), or null off the image or without pixels.
    uint8_t* RowPointer(int32_t y) const;

    // The single-pixel writes test depth, buffer and both coordinates, so callers may pass
    // positions off the canvas. Inline: the ball rasteriser writes every pixel through them.
    int SetPixel(int32_t x, int32_t y, int32_t red, int32_t green, int32_t blue) {
        if (depth_ == 24) return SetPixel24(x, y, red, green, blue);
        if (depth_ == 8) return SetPixel8Colour(x, y, red, green, blue);
        return 0;
    }
    int SetPixel24(int32_t x, int32_t y, int32_t red, int32_t green, int32_t blue) {
        uint8_t* bits = Buffer();
        if (depth_ != 24 || bits == nullptr) return 0;
        if (y < 0 || y >= height_ || x < 0 || x >= width_) return 0;
        uint8_t* p = bits + static_cast<ptrdiff_t>(height_ - 1 - y) * stride_ +
                     static_cast<ptrdiff_t>(x) * 3;
        p[0] = static_cast<uint8_t>(blue);
        p[1] = static_cast<uint8_t>(green);
        p[2] = static_cast<uint8_t>(red);
        return 1;
    }
    int SetPixel8(int32_t x, int32_t y, int32_t index);
    int NearestPaletteIndex(int32_t red, int32_t green, int32_t blue) const;
    int SetPaletteEntry(int32_t index, int32_t red, int32_t green, int32_t blue);
    void FillSpan(int32_t x0, int32_t x1, int32_t y, int32_t red, int32_t green, int32_t blue);
    void FillRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t red, int32_t green,
                       int32_t blue);

  private:
    // The 8-bit path of SetPixel: the palette search comes before any coordinate test.
    int SetPixel8Colour(int32_t x, int32_t y, int32_t red, int32_t green, int32_t blue);

    uint32_t generation_ = 0;
    int32_t depth_ = 0;
    int32_t stride_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t paletteCount_ = 256;
    PaletteEntry palette_[256] = {};
};
