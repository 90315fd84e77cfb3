#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "raster/raster_image.h"

namespace {

bool AllZero(const RasterImage& image) {
    const uint8_t* p = image.Buffer();
    return std::all_of(p, p + image.Stride() * image.Height(), [](uint8_t b) { return b == 0; });
}

// Blue of pixel x in row y of a 24-bit image.
int BlueAt(const RasterImage& image, int x, int y) { return image.RowPointer(y)[3 * x]; }

}  // namespace

TEST(RasterImageCreate, StridesAndBottomUpRows) {
    const struct {
        int width, depth, stride;
    } cases[] = {{640, 24, 1920}, {10, 24, 32}, {10, 3, 12}, {33, 1, 8}, {1, 48, 8},
                 {32, 1, 4},      {5, 8, 8},    {9, 4, 8},   {3, 16, 8}, {33, 3, 24}};
    for (const auto& c : cases) {
        RasterImage image;  // a second Create starts afresh: nothing drawn before survives
        ASSERT_EQ(image.Create(10, 5, 24), 1);
        image.FillRectangle(0, 0, 9, 4, 7, 7, 7);
        ASSERT_EQ(image.Create(c.width, 480, c.depth), 1) << c.width << "x" << c.depth;
        EXPECT_EQ(image.Stride(), c.stride) << c.width << "x" << c.depth;
        EXPECT_EQ(image.RowPointer(0), image.Buffer() + 479 * c.stride);
        EXPECT_EQ(image.RowPointer(480), nullptr);
        EXPECT_EQ(image.RowPointer(-1), nullptr);
        EXPECT_TRUE(AllZero(image));
    }
}

TEST(RasterImageCreate, UnsupportedDepthKeepsThePicture) {
    for (int depth = -1; depth <= 64; ++depth) {
        const bool supported = depth == 1 || depth == 3 || depth == 4 || depth == 8 ||
                               depth == 16 || depth == 24 || depth == 48;
        EXPECT_EQ(RasterImage::IsSupportedDepth(depth), supported ? 1 : 0) << depth;
        if (supported) continue;
        RasterImage image;
        ASSERT_EQ(image.Create(10, 5, 24), 1);
        image.SetPixel(3, 2, 0, 0, 7);
        EXPECT_EQ(image.Create(100, 100, depth), 0);
        EXPECT_EQ(image.Width(), 10);
        EXPECT_EQ(BlueAt(image, 3, 2), 7);
    }
}

TEST(RasterImageCreate, FailureLeavesTheImageEmpty) {
    // Sizes below 1 at any depth (some once wrapped to a positive row size or overflowed), and
    // byte counts beyond int32 (width x depth + 31, stride x height, height x 4).
    const struct {
        int width, height, depth;
    } cases[] = {{0, 10, 24},          {10, 0, 24},           {-5, 10, 24},
                 {10, -1, 8},          {-(1 << 30), 1, 24},   {INT_MIN, INT_MIN, 24},
                 {INT_MIN, 1, 48},     {-33, 2, 3},           {1, INT_MIN, 1},
                 {INT_MAX, 1, 24},     {INT_MAX / 24, 1, 24}, {INT_MAX - 10, 1, 3},
                 {100000, 100000, 24}, {1, INT_MAX / 2, 8},   {1, INT_MAX, 1}};
    for (const auto& c : cases) {
        RasterImage image;
        ASSERT_EQ(image.Create(4, 4, 24), 1);
        EXPECT_EQ(image.Create(c.width, c.height, c.depth), 0)
            << c.width << "x" << c.height << "x" << c.depth;
        EXPECT_EQ(image.Height() | image.Width() | image.Depth() | image.Stride(), 0);
        EXPECT_EQ(image.Buffer(), nullptr);
        EXPECT_EQ(image.RowPointer(0), nullptr);
        EXPECT_EQ(image.SetPixel(0, 0, 1, 1, 1), 0);
        image.FillRectangle(0, 0, 100, 100, 9, 9, 9);  // harmless on an empty image
    }
}

TEST(RasterImagePixels, WritesOnlyWhatTheDepthServes) {
    RasterImage image;
    ASSERT_EQ(image.Create(10, 5, 24), 1);
    EXPECT_EQ(image.SetPixel(0, 0, 255, 0, 0), 1);
    EXPECT_EQ(std::memcmp(image.Buffer() + 4 * 32, "\0\0\xff", 3), 0);  // row 0 is last
    EXPECT_EQ(image.SetPixel(9, 4, 300, -1, 263), 1);                   // low bytes
    EXPECT_EQ(std::memcmp(image.Buffer() + 27, "\x07\xff\x2c", 3), 0);
    for (auto [x, y] : {std::pair{-1, 0}, {10, 0}, {0, 5}, {0, -1}, {INT_MIN, INT_MAX}})
        EXPECT_EQ(image.SetPixel(x, y, 1, 1, 1), 0) << x << "," << y;
    EXPECT_EQ(image.SetPixel8(1, 1, 5), 0);

    ASSERT_EQ(image.Create(4, 2, 8), 1);  // after a 24-bit image: the palette is unsearchable
    EXPECT_EQ(image.NearestPaletteIndex(0, 0, 0), -1);
    EXPECT_EQ(image.SetPixel(0, 0, 255, 255, 255), 0);
    EXPECT_EQ(image.SetPixel8(2, 1, 300), 1);
    EXPECT_EQ(image.RowPointer(1)[2], 44);
    EXPECT_EQ(image.SetPixel24(0, 0, 1, 1, 1), 0);

    RasterImage fresh;
    ASSERT_EQ(fresh.Create(4, 2, 8), 1);
    EXPECT_EQ(fresh.SetPixel(1, 0, 0, 128, 0), 1);
    EXPECT_EQ(fresh.RowPointer(0)[1], 2);
    EXPECT_EQ(fresh.SetPixel8(4, 0, 1), 0);
    for (int depth : {1, 3, 4, 16, 48}) {
        ASSERT_EQ(fresh.Create(4, 2, depth), 1);
        EXPECT_EQ(fresh.SetPixel(0, 0, 1, 1, 1), 0) << depth;
    }
}

TEST(RasterImagePalette, NearestIndexPrefersTheLowestOfEqualDistances) {
    RasterImage image;
    // The last four lie far outside 0..255, where a plain int32 sum of squares would overflow.
    const struct {
        int r, g, b, index;
    } cases[] = {{0, 128, 0, 2},
                 {128, 128, 128, 164},
                 {0, 0, 32, 0},
                 {96, 0, 0, 1},
                 {64, 32, 0, 10},
                 {160, 192, 192, 245},
                 {166, 202, 240, 9},
                 {255, 251, 240, 246},
                 {0, 128, 128, 6},
                 {128, 0, 128, 5},
                 {INT_MAX, 0, 0, 249},
                 {INT_MIN, INT_MIN, INT_MIN, 0},
                 {INT_MAX, INT_MAX, INT_MAX, 255},
                 {-1000000, 5000000, -1000000, 250}};
    for (const auto& c : cases)
        EXPECT_EQ(image.NearestPaletteIndex(c.r, c.g, c.b), c.index)
            << c.r << "," << c.g << "," << c.b;

    EXPECT_EQ(image.SetPaletteEntry(256, 1, 2, 3) | image.SetPaletteEntry(-1, 1, 2, 3), 0);
    EXPECT_EQ(image.SetPaletteEntry(7, 1, 2, 3), 1);
    const PaletteEntry e7 = image.PaletteAt(7);
    EXPECT_EQ(std::memcmp(&e7, "\x03\x02\x01\x00", 4), 0);
}

TEST(RasterImageFill, SpansAndRectanglesClipAndKeepRowEnds) {
    const struct {
        int x0, y0, x1, y1, r, g, b;
    } cases[] = {{5, 3, 2, 3, 9, 8, 7},
                 {-10, 3, 3, 3, 9, 8, 7},
                 {-10, 3, -1, 3, 9, 8, 7},
                 {8, 3, 110, 3, 9, 8, 7},
                 {10, 3, 15, 3, 9, 8, 7},
                 {-5, 10, 50, 5, 255, 255, 255},
                 {-5, -3, 50, 2, 255, 255, 255},
                 {0, 17, 9, 40, 1, 1, 1},
                 {0, -9, 9, -1, 1, 1, 1},
                 {0, 20, 9, 30, 1, 1, 1},
                 {INT_MIN, 0, INT_MAX, 19, 0, 0, 0},
                 {-5, 3, 50, 7, 0, 0, 0},
                 {1, 0, 9, 19, 0, 0, 0},
                 {0, 0, 8, 19, 0, 0, 0}};
    for (const auto& c : cases) {
        RasterImage image;
        ASSERT_EQ(image.Create(10, 20, 24), 1);
        image.FillRectangle(0, 0, 9, 19, 200, 200, 200);
        if (c.y0 == c.y1)
            image.FillSpan(c.x0, c.x1, c.y0, c.r, c.g, c.b);
        else
            image.FillRectangle(c.x0, c.y0, c.x1, c.y1, c.r, c.g, c.b);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool inside = y >= std::min(c.y0, c.y1) && y <= std::max(c.y0, c.y1) &&
                                    x >= std::min(c.x0, c.x1) && x <= std::max(c.x0, c.x1);
                ASSERT_EQ(BlueAt(image, x, y), inside ? c.b : 200) << x << "," << y;
            }
            EXPECT_EQ(image.RowPointer(y)[30] | image.RowPointer(y)[31], 0);  // row end
        }
    }
    for (int depth : {1, 3, 4, 8, 16, 48}) {
        RasterImage image;
        ASSERT_EQ(image.Create(8, 4, depth), 1);
        image.FillRectangle(0, 0, 7, 3, 255, 255, 255);
        image.FillSpan(0, 7, 0, 255, 255, 255);
        EXPECT_TRUE(AllZero(image)) << depth;
    }
}
