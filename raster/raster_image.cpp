#include "raster/raster_image.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

struct Rgb {
    uint8_t red, green, blue;
};

// The twenty fixed entries of the default palette; entries 10 to 245 follow a rule.
struct FixedEntry {
    int index;
    Rgb colour;
};
constexpr FixedEntry FixedPalette[] = {
    {0, {0, 0, 0}},         {1, {128, 0, 0}},     {2, {0, 128, 0}},       {3, {128, 128, 0}},
    {4, {0, 0, 128}},       {5, {128, 0, 128}},   {6, {0, 128, 128}},     {7, {192, 192, 192}},
    {8, {192, 220, 192}},   {9, {166, 202, 240}}, {246, {255, 251, 240}}, {247, {160, 160, 164}},
    {248, {128, 128, 128}}, {249, {255, 0, 0}},   {250, {0, 255, 0}},     {251, {255, 255, 0}},
    {252, {0, 0, 255}},     {253, {255, 0, 255}}, {254, {0, 255, 255}},   {255, {255, 255, 255}},
};

uint32_t NextGeneration() {
    static std::atomic<uint32_t> last{0};
    return ++last;
}

Rgb DefaultPaletteColour(int i) {
    for (const FixedEntry& e : FixedPalette) {
        if (e.index == i) return e.colour;
    }
    return {static_cast<uint8_t>((i % 8) * 32), static_cast<uint8_t>(((i / 8) % 8) * 32),
            static_cast<uint8_t>((i / 64) * 64)};
}

}  // namespace

RasterImage::RasterImage() {
    for (int i = 0; i < 256; ++i) {
        const Rgb c = DefaultPaletteColour(i);
        SetPaletteEntry(i, c.red, c.green, c.blue);
    }
}

RasterImage::~RasterImage() { Destroy(); }

int RasterImage::IsSupportedDepth(int32_t depth) {
    switch (depth) {
        case 1:
        case 3:
        case 4:
        case 8:
        case 16:
        case 24:
        case 48:
            return 1;
        default:
            return 0;
    }
}

int RasterImage::Create(int32_t width, int32_t height, int32_t depth) {
    if (!IsSupportedDepth(depth)) return 0;
    Destroy();
    // Sizes below 1 fail whatever the depth: a negative width would otherwise give a negative
    // word count, which no later step may see.
    if (width < 1 || height < 1) return 0;

    // Row words in 64 bits, where width x depth + 31 cannot overflow. Every size the image and
    // the plane keep in int32 must fit: the row in bits, the buffer and each row table in bytes;
    // the buffer's bound is tested by division, as stride x height may not fit even in 64 bits.
    const int64_t words =
        depth == 3 ? ((int64_t{width} + 31) / 32) * 3 : (int64_t{width} * depth + 31) / 32;
    if (words > INT32_MAX / 32 || words * 4 > INT32_MAX / height) return 0;
    if (!Allocate(static_cast<int32_t>(words * 32), height)) return 0;

    depth_ = depth;
    stride_ = static_cast<int32_t>(words * 4);
    width_ = width;
    height_ = height;
    generation_ = NextGeneration();
    if (depth >= 16) paletteCount_ = 0;
    return 1;
}

void RasterImage::Destroy() {
    Release();
    generation_ = NextGeneration();
    depth_ = 0;
    stride_ = 0;
    width_ = 0;
    height_ = 0;
}

uint8_t* RasterImage::RowPointer(int32_t y) const {
    if (y < 0 || y >= height_) return nullptr;
    uint8_t* bits = Buffer();
    if (bits == nullptr) return nullptr;
    return bits + static_cast<ptrdiff_t>(height_ - 1 - y) * stride_;
}

int RasterImage::SetPixel8Colour(int32_t x, int32_t y, int32_t red, int32_t green, int32_t blue) {
    const int index = NearestPaletteIndex(red, green, blue);
    if (index < 0) return 0;
    return SetPixel8(x, y, index);
}

int RasterImage::SetPixel8(int32_t x, int32_t y, int32_t index) {
    if (depth_ != 8 || Buffer() == nullptr) return 0;
    if (y < 0 || y >= height_ || x < 0 || x >= width_) return 0;
    RowPointer(y)[x] = static_cast<uint8_t>(index);
    return 1;
}

int RasterImage::NearestPaletteIndex(int32_t red, int32_t green, int32_t blue) const {
    const int n = paletteCount_;
    if (n < 1) return -1;
    if (n == 1) return 0;
    // Squared distance less the colour's own squared length, which is the same for every entry:
    // the order of entries (ties included) is that of the plain distance, and the sum is exact in
    // 64 bits for any int32 components, where the plain one would overflow.
    auto distance = [&](int i) {
        const PaletteEntry& e = palette_[i];
        const int64_t squares =
            int64_t{e.red} * e.red + int64_t{e.green} * e.green + int64_t{e.blue} * e.blue;
        const int64_t products =
            int64_t{e.red} * red + int64_t{e.green} * green + int64_t{e.blue} * blue;
        return squares - 2 * products;
    };
    int best = 0;
    int64_t bestDistance = distance(0);
    for (int i = 1; i < n; ++i) {
        const int64_t d = distance(i);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

int RasterImage::SetPaletteEntry(int32_t index, int32_t red, int32_t green, int32_t blue) {
    if (index < 0 || index > 255) return 0;
    palette_[index] = {static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                       static_cast<uint8_t>(red), 0};
    return 1;
}

void RasterImage::FillSpan(int32_t x0, int32_t x1, int32_t y, int32_t red, int32_t green,
                           int32_t blue) {
    if (depth_ != 24 || Buffer() == nullptr) return;
    if (y < 0 || y >= height_) return;
    int32_t lo = x0 < x1 ? x0 : x1;
    if (lo >= width_) return;
    if (lo < 0) lo = 0;
    int32_t hi = x0 < x1 ? x1 : x0;
    if (hi < 0) return;
    if (hi >= width_) hi = width_ - 1;
    if (lo > hi) return;

    uint8_t* p = RowPointer(y) + static_cast<ptrdiff_t>(lo) * 3;
    const auto b = static_cast<uint8_t>(blue);
    const auto g = static_cast<uint8_t>(green);
    const auto r = static_cast<uint8_t>(red);
    const size_t count = static_cast<size_t>(hi - lo + 1);
    if (b == g && g == r) {
        // Every frame clears the whole canvas to black: one memset per row.
        std::memset(p, b, count * 3);
        return;
    }
    for (size_t i = 0; i < count; ++i, p += 3) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
}

void RasterImage::FillRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t red,
                                int32_t green, int32_t blue) {
    int32_t lo = y0 < y1 ? y0 : y1;
    if (lo >= Height()) return;
    int32_t hi = y0 < y1 ? y1 : y0;
    if (hi < 0) return;
    if (lo < 0) lo = 0;
    if (hi >= Height()) hi = Height() - 1;
    if (lo > hi) return;
    // The per-frame clear covers whole rows in black. The rows lie back to back in memory and
    // their row ends are already 0, so one memset over the block leaves every byte as the
    // row-by-row fill would.
    const bool black = (red & 0xFF) == 0 && (green & 0xFF) == 0 && (blue & 0xFF) == 0;
    const bool wholeRows = (x0 < x1 ? x0 : x1) <= 0 && (x0 < x1 ? x1 : x0) >= width_ - 1;
    if (black && wholeRows && depth_ == 24 && Buffer() != nullptr) {
        std::memset(RowPointer(hi), 0, static_cast<size_t>(stride_) * (hi - lo + 1));
        return;
    }
    // Each tick clears the last drawing of every ball, a small block of rows: the columns are
    // clipped once, then the rows filled straight.
    const int32_t left = std::max(x0 < x1 ? x0 : x1, 0);
    const int32_t right = std::min(x0 < x1 ? x1 : x0, width_ - 1);
    if (black && depth_ == 24 && Buffer() != nullptr) {
        if (left > right) return;
        const size_t bytes = static_cast<size_t>(right - left + 1) * 3;
        for (int32_t y = lo; y <= hi; ++y) std::memset(RowPointer(y) + 3 * left, 0, bytes);
        return;
    }
    for (int32_t y = lo; y <= hi; ++y) FillSpan(x0, x1, y, red, green, blue);
}
