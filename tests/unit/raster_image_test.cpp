#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "raster/raster_image.h"

namespace {

// Bytes of one row as stored, row-end padding included.
std::vector<uint8_t> RowBytes(const RasterImage& image, int y) {
    const uint8_t* p = image.RowPointer(y);
    return std::vector<uint8_t>(p, p + image.Stride());
}

bool AllZero(const RasterImage& image) {
    for (int y = 0; y < image.Height(); ++y) {
        for (uint8_t b : RowBytes(image, y)) {
            if (b != 0) return false;
        }
    }
    return true;
}

// Which columns of row y hold the colour (r, g, b).
std::vector<int> ColumnsWith(const RasterImage& image, int y, int r, int g, int b) {
    std::vector<int> columns;
    const uint8_t* p = image.RowPointer(y);
    for (int x = 0; x < image.Width(); ++x) {
        if (p[3 * x] == b && p[3 * x + 1] == g && p[3 * x + 2] == r) columns.push_back(x);
    }
    return columns;
}

void ExpectEmpty(const RasterImage& image) {
    EXPECT_EQ(image.Height(), 0);
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Depth(), 0);
    EXPECT_EQ(image.Stride(), 0);
    EXPECT_EQ(image.Buffer(), nullptr);
    EXPECT_EQ(image.RowPointer(0), nullptr);
}

}  // namespace

TEST(RasterImageCreate, StridesFollowDepthAndWidth) {
    struct Case {
        int width, depth, stride;
    } cases[] = {{640, 24, 1920}, {10, 24, 32}, {10, 3, 12}, {33, 1, 8}, {1, 48, 8},
                 {1, 1, 4},       {32, 1, 4},   {3, 8, 4},   {5, 8, 8},  {7, 4, 4},
                 {9, 4, 8},       {3, 16, 8},   {33, 3, 24}};
    for (const Case& c : cases) {
        RasterImage image;
        ASSERT_EQ(image.Create(c.width, 2, c.depth), 1) << c.width << "x" << c.depth;
        EXPECT_EQ(image.Stride(), c.stride) << c.width << "x" << c.depth;
        EXPECT_EQ(image.Depth(), c.depth);
        EXPECT_EQ(image.Width(), c.width);
        EXPECT_EQ(image.Height(), 2);
        EXPECT_TRUE(AllZero(image));
    }
}

TEST(RasterImageCreate, RowsAreBottomUp) {
    RasterImage image;
    ASSERT_EQ(image.Create(640, 480, 24), 1);
    EXPECT_EQ(image.RowPointer(479), image.Buffer());
    EXPECT_EQ(image.RowPointer(0), image.Buffer() + 479 * 1920);
    EXPECT_EQ(image.RowPointer(480), nullptr);
    EXPECT_EQ(image.RowPointer(-1), nullptr);
    EXPECT_TRUE(AllZero(image));
    EXPECT_EQ(image.PaletteCount(), 0);
}

TEST(RasterImageCreate, SupportedDepths) {
    for (int depth = -1; depth <= 64; ++depth) {
        const bool supported = depth == 1 || depth == 3 || depth == 4 || depth == 8 ||
                               depth == 16 || depth == 24 || depth == 48;
        EXPECT_EQ(RasterImage::IsSupportedDepth(depth), supported ? 1 : 0) << depth;
    }
}

TEST(RasterImageCreate, UnsupportedDepthKeepsThePicture) {
    RasterImage image;
    ASSERT_EQ(image.Create(10, 5, 24), 1);
    image.SetPixel(3, 2, 1, 2, 3);
    for (int depth : {0, 2, 32, -24}) {
        EXPECT_EQ(image.Create(100, 100, depth), 0);
        EXPECT_EQ(image.Width(), 10);
        EXPECT_EQ(image.Height(), 5);
        EXPECT_EQ(image.RowPointer(2)[9], 3);  // red of pixel 3
    }
}

TEST(RasterImageCreate, FailedSizeLeavesTheImageEmpty) {
    const struct {
        int width, height, depth;
    } cases[] = {
        {0, 10, 24},
        {10, 0, 24},
        {-5, 10, 24},
        {10, -1, 8},
        // Byte counts beyond int32: width x depth + 31, stride x height, height x 4.
        {INT_MAX, 1, 24},
        {INT_MAX / 24, 1, 24},
        {INT_MAX - 10, 1, 3},
        {100000, 100000, 24},
        {1, INT_MAX / 2, 8},
        {1, INT_MAX, 1},
    };
    for (const auto& c : cases) {
        RasterImage image;
        ASSERT_EQ(image.Create(4, 4, 24), 1);
        EXPECT_EQ(image.Create(c.width, c.height, c.depth), 0)
            << c.width << "x" << c.height << "x" << c.depth;
        ExpectEmpty(image);
        EXPECT_EQ(image.SetPixel(0, 0, 1, 1, 1), 0);
        image.FillRectangle(0, 0, 100, 100, 9, 9, 9);  // must stay harmless
    }
}

TEST(RasterImageCreate, SecondCreateStartsFresh) {
    RasterImage image;
    ASSERT_EQ(image.Create(10, 5, 24), 1);
    image.FillRectangle(0, 0, 9, 4, 7, 7, 7);
    ASSERT_EQ(image.Create(10, 5, 24), 1);
    EXPECT_TRUE(AllZero(image));
}

TEST(RasterImageDestroy, EmptyImageStaysHarmless) {
    RasterImage image;
    ExpectEmpty(image);
    image.Destroy();
    image.Destroy();
    ExpectEmpty(image);
    image.FillRectangle(0, 0, 100, 100, 1, 2, 3);
    image.FillSpan(0, 100, 0, 1, 2, 3);
    EXPECT_EQ(image.SetPixel(0, 0, 1, 2, 3), 0);
    ASSERT_EQ(image.Create(3, 3, 24), 1);
    image.Destroy();
    ExpectEmpty(image);
    EXPECT_EQ(image.PaletteCount(), 0);  // the palette outlives the pixels
}

TEST(RasterImagePixels, TwentyFourBitWritesBgrLowBytes) {
    RasterImage image;
    ASSERT_EQ(image.Create(10, 5, 24), 1);
    EXPECT_EQ(image.SetPixel(0, 0, 255, 0, 0), 1);
    const uint8_t* last = image.Buffer() + 4 * 32;  // row 0 is the last row in memory
    EXPECT_EQ(last[0], 0);
    EXPECT_EQ(last[1], 0);
    EXPECT_EQ(last[2], 255);

    EXPECT_EQ(image.SetPixel(9, 4, 300, -1, 256 + 7), 1);
    EXPECT_EQ(image.Buffer()[27], 7);
    EXPECT_EQ(image.Buffer()[28], 255);
    EXPECT_EQ(image.Buffer()[29], 44);

    for (auto [x, y] : {std::pair{-1, 0}, {10, 0}, {0, 5}, {0, -1}, {INT_MIN, INT_MAX}}) {
        EXPECT_EQ(image.SetPixel(x, y, 1, 1, 1), 0) << x << "," << y;
        EXPECT_EQ(image.SetPixel24(x, y, 1, 1, 1), 0);
    }
    EXPECT_EQ(image.SetPixel8(1, 1, 5), 0);  // wrong depth
}

TEST(RasterImagePixels, EightBitGoesThroughThePalette) {
    RasterImage image;
    ASSERT_EQ(image.Create(4, 2, 8), 1);
    EXPECT_EQ(image.SetPixel(1, 0, 0, 128, 0), 1);
    EXPECT_EQ(image.RowPointer(0)[1], 2);
    EXPECT_EQ(image.SetPixel8(2, 1, 300), 1);
    EXPECT_EQ(image.RowPointer(1)[2], 44);
    EXPECT_EQ(image.SetPixel8(4, 0, 1), 0);
    EXPECT_EQ(image.SetPixel24(0, 0, 1, 1, 1), 0);
    for (int depth : {1, 3, 4, 16, 48}) {
        ASSERT_EQ(image.Create(4, 2, depth), 1);
        EXPECT_EQ(image.SetPixel(0, 0, 1, 1, 1), 0) << depth;
    }
}

TEST(RasterImagePalette, NearestIndexPrefersTheLowestOfEqualDistances) {
    RasterImage image;
    const struct {
        int r, g, b, index;
    } cases[] = {
        {0, 0, 0, 0},
        {255, 255, 255, 255},
        {0, 128, 0, 2},
        {128, 128, 128, 164},
        {0, 0, 32, 0},
        {96, 0, 0, 1},
        {64, 32, 0, 10},
        {160, 192, 192, 245},
        {255, 0, 0, 249},
        {128, 128, 0, 3},
        {0, 0, 128, 4},
        {128, 0, 128, 5},
        {0, 128, 128, 6},
        {192, 220, 192, 8},
        {166, 202, 240, 9},
        {255, 251, 240, 246},
        // Far outside 0..255: the plain int32 sum would overflow.
        {INT_MAX, 0, 0, 249},
        {INT_MIN, INT_MIN, INT_MIN, 0},
        {INT_MAX, INT_MAX, INT_MAX, 255},
        {-1000000, 5000000, -1000000, 250},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(image.NearestPaletteIndex(c.r, c.g, c.b), c.index)
            << c.r << "," << c.g << "," << c.b;
    }
}

TEST(RasterImagePalette, DefaultEntriesAndUpdates) {
    RasterImage image;
    EXPECT_EQ(image.PaletteCount(), 256);
    const PaletteEntry e10 = image.PaletteAt(10);
    EXPECT_EQ(e10.red, 64);
    EXPECT_EQ(e10.green, 32);
    EXPECT_EQ(e10.blue, 0);
    EXPECT_EQ(image.PaletteAt(164).red, 128);
    EXPECT_EQ(image.PaletteAt(247).blue, 164);

    EXPECT_EQ(image.SetPaletteEntry(256, 1, 2, 3), 0);
    EXPECT_EQ(image.SetPaletteEntry(-1, 1, 2, 3), 0);
    EXPECT_EQ(image.SetPaletteEntry(7, 1, 2, 3), 1);
    PaletteEntry e7 = image.PaletteAt(7);
    EXPECT_EQ(std::memcmp(&e7, "\x03\x02\x01\x00", 4), 0);
}

TEST(RasterImagePalette, UnsearchableAfterADeepCreate) {
    for (int depth : {16, 24, 48}) {
        RasterImage image;
        ASSERT_EQ(image.Create(2, 2, depth), 1);
        EXPECT_EQ(image.NearestPaletteIndex(0, 0, 0), -1);
        ASSERT_EQ(image.Create(4, 2, 8), 1);
        EXPECT_EQ(image.SetPixel(0, 0, 255, 255, 255), 0);
        EXPECT_EQ(image.RowPointer(0)[0], 0);
        EXPECT_EQ(image.SetPixel8(0, 0, 9), 1);
        EXPECT_EQ(image.RowPointer(0)[0], 9);
    }
    RasterImage shallow;
    ASSERT_EQ(shallow.Create(2, 2, 8), 1);
    ASSERT_EQ(shallow.Create(2, 2, 4), 1);
    EXPECT_EQ(shallow.PaletteCount(), 256);
}

TEST(RasterImageFill, SpansClipToTheRow) {
    const int width = 10;
    const struct {
        int x0, x1;
        std::vector<int> filled;
    } cases[] = {
        {5, 2, {2, 3, 4, 5}},
        {-10, 3, {0, 1, 2, 3}},
        {-10, -1, {}},
        {width - 2, width + 100, {8, 9}},
        {width, width + 5, {}},
        {4, 4, {4}},
        {INT_MIN, INT_MAX, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& c : cases) {
        RasterImage image;
        ASSERT_EQ(image.Create(width, 3, 24), 1);
        image.FillSpan(c.x0, c.x1, 1, 10, 20, 30);
        EXPECT_EQ(ColumnsWith(image, 1, 10, 20, 30), c.filled) << c.x0 << ".." << c.x1;
        EXPECT_TRUE(ColumnsWith(image, 0, 10, 20, 30).empty());
        EXPECT_TRUE(ColumnsWith(image, 2, 10, 20, 30).empty());
    }
}

TEST(RasterImageFill, RectanglesClipRowsAndKeepRowEnds) {
    const struct {
        int y0, y1;
        int first, last;  // rows filled; first > last for none
    } cases[] = {
        {10, 5, 5, 10}, {-3, 2, 0, 2},  {17, 40, 17, 19},
        {-9, -1, 1, 0}, {20, 30, 1, 0}, {0, 19, 0, 19},
    };
    for (const auto& c : cases) {
        RasterImage image;
        ASSERT_EQ(image.Create(10, 20, 24), 1);
        image.FillRectangle(-5, c.y0, 50, c.y1, 255, 255, 255);
        for (int y = 0; y < 20; ++y) {
            const std::vector<uint8_t> row = RowBytes(image, y);
            const bool filled = y >= c.first && y <= c.last;
            for (int i = 0; i < 30; ++i) ASSERT_EQ(row[i], filled ? 255 : 0) << y;
            EXPECT_EQ(row[30], 0);  // padding belongs to no pixel
            EXPECT_EQ(row[31], 0);
        }
    }
}

TEST(RasterImageFill, OnlyTwentyFourBitImagesAreFilled) {
    for (int depth : {1, 3, 4, 8, 16, 48}) {
        RasterImage image;
        ASSERT_EQ(image.Create(8, 4, depth), 1);
        image.FillRectangle(0, 0, 7, 3, 255, 255, 255);
        image.FillSpan(0, 7, 0, 255, 255, 255);
        EXPECT_TRUE(AllZero(image)) << depth;
    }
}

TEST(RasterImageFill, BlackClearOfWholeRowsTouchesOnlyThoseRows) {
    const struct {
        int x0, y0, x1, y1;
    } cases[] = {{0, 0, 9, 19}, {-5, 3, 50, 7}, {9, 12, 0, 25}, {1, 0, 9, 19}, {0, 0, 8, 19}};
    for (const auto& c : cases) {
        RasterImage image;
        ASSERT_EQ(image.Create(10, 20, 24), 1);
        image.FillRectangle(0, 0, 9, 19, 200, 200, 200);
        image.FillRectangle(c.x0, c.y0, c.x1, c.y1, 0, 0, 0);
        for (int y = 0; y < 20; ++y) {
            const std::vector<uint8_t> row = RowBytes(image, y);
            for (int x = 0; x < 10; ++x) {
                const bool cleared = y >= std::max(0, std::min(c.y0, c.y1)) &&
                                     y <= std::max(c.y0, c.y1) && x >= std::min(c.x0, c.x1) &&
                                     x <= std::max(c.x0, c.x1);
                ASSERT_EQ(row[3 * x], cleared ? 0 : 200) << x << "," << y;
            }
            EXPECT_EQ(row[30] | row[31], 0);
        }
    }
}
