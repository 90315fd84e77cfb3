#include <gtest/gtest.h>

#include <vector>

#include "raster/raster_image.h"
#include "tools/frame_image.h"

namespace {

TEST(CanvasToRgb, TurnsBottomUpBgrIntoTopDownRgb) {
    // Width 5 pads each 15-byte row to 16: the padding must not reach the picture.
    RasterImage canvas;
    ASSERT_EQ(canvas.Create(5, 3, 24), 1);
    canvas.SetPixel(0, 0, 10, 20, 30);  // top left
    canvas.SetPixel(4, 0, 40, 50, 60);  // top right
    canvas.SetPixel(0, 2, 70, 80, 90);  // bottom left
    canvas.SetPixel(4, 2, 1, 2, 3);     // bottom right
    const std::vector<uint8_t> rgb = CanvasToRgb(canvas);
    ASSERT_EQ(rgb.size(), 5u * 3 * 3);
    const auto at = [&](int x, int y) {
        const size_t k = (static_cast<size_t>(y) * 5 + x) * 3;
        return std::vector<int>{rgb[k], rgb[k + 1], rgb[k + 2]};
    };
    EXPECT_EQ(at(0, 0), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(at(4, 0), (std::vector<int>{40, 50, 60}));
    EXPECT_EQ(at(0, 2), (std::vector<int>{70, 80, 90}));
    EXPECT_EQ(at(4, 2), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(at(2, 1), (std::vector<int>{0, 0, 0}));
}

TEST(LayoutSheet, FitsFramesInRowsAndRefusesHugeSheets) {
    const struct {
        int64_t frames;
        int32_t columns, width, height;
        bool fits;
        int32_t cols, rows, sheetWidth, sheetHeight;
    } cases[] = {
        {4, 2, 640, 360, true, 2, 2, 1284, 724}, {1, 2, 640, 360, true, 1, 1, 640, 360},
        {5, 2, 10, 10, true, 2, 3, 24, 38},      {3, 64, 10, 20, true, 3, 1, 38, 20},
        {4, 2, 16384, 16384, false, 0, 0, 0, 0}, {0, 2, 10, 10, false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames of " << c.width << "x" << c.height);
        SheetLayout layout;
        ASSERT_EQ(LayoutSheet(c.frames, c.columns, c.width, c.height, &layout), c.fits);
        if (!c.fits) continue;
        EXPECT_TRUE(layout.columns == c.cols && layout.rows == c.rows &&
                    layout.width == c.sheetWidth && layout.height == c.sheetHeight);
    }
}

TEST(PlaceOnSheet, PutsEachFrameInItsCell) {
    SheetLayout layout;
    ASSERT_TRUE(LayoutSheet(3, 2, 2, 2, &layout));  // 8 x 8 with a 4-pixel gap
    std::vector<uint8_t> sheet = NewSheet(layout);
    for (int index = 0; index < 3; ++index) {
        const std::vector<uint8_t> frame(2 * 2 * 3, static_cast<uint8_t>(100 + index));
        PlaceOnSheet(&sheet, layout, index, frame, 2, 2);
    }
    const auto at = [&](int x, int y) { return sheet[(static_cast<size_t>(y) * 8 + x) * 3]; };
    // Cells' corners, the gap and the empty fourth cell.
    const int expected[][3] = {{0, 0, 100}, {1, 1, 100}, {6, 0, 101}, {7, 1, 101},
                               {0, 6, 102}, {1, 7, 102}, {3, 0, 64},  {6, 6, 64}};
    for (const auto& e : expected) EXPECT_EQ(at(e[0], e[1]), e[2]) << e[0] << "," << e[1];
}

}  // namespace
