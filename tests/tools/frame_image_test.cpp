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

}  // namespace
