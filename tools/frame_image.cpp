#include "tools/frame_image.h"

#include <cstring>

#include "raster/raster_image.h"

namespace {
constexpr uint8_t GapGrey = 64;
}

std::vector<uint8_t> CanvasToRgb(const RasterImage& canvas) {
    if (canvas.Depth() != 24 || canvas.RowPointer(0) == nullptr) return {};
    const int32_t width = canvas.Width();
    const int32_t height = canvas.Height();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    uint8_t* out = rgb.data();
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = canvas.RowPointer(y);
        for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return rgb;
}

bool LayoutSheet(int64_t frames, int32_t columns, int32_t frameWidth, int32_t frameHeight,
                 SheetLayout* layout) {
    if (frames < 1 || columns < 1 || frameWidth < 1 || frameHeight < 1) return false;
    const int64_t cols = frames < columns ? frames : columns;
    const int64_t rows = (frames + cols - 1) / cols;
    const int64_t width = cols * frameWidth + (cols - 1) * SheetGap;
    const int64_t height = rows * frameHeight + (rows - 1) * SheetGap;
    // Checked one factor at a time so that the product cannot overflow.
    if (width > MaxSheetBytes || height > MaxSheetBytes) return false;
    if (width * height > MaxSheetBytes / 3) return false;
    layout->columns = static_cast<int32_t>(cols);
    layout->rows = static_cast<int32_t>(rows);
    layout->width = static_cast<int32_t>(width);
    layout->height = static_cast<int32_t>(height);
    return true;
}

std::vector<uint8_t> NewSheet(const SheetLayout& layout) {
    return std::vector<uint8_t>(static_cast<size_t>(layout.width) * layout.height * 3, GapGrey);
}

void PlaceOnSheet(std::vector<uint8_t>* sheet, const SheetLayout& layout, int64_t index,
                  const std::vector<uint8_t>& frameRgb, int32_t frameWidth, int32_t frameHeight) {
    const int64_t column = index % layout.columns;
    const int64_t row = index / layout.columns;
    if (row >= layout.rows) return;
    const size_t left = static_cast<size_t>(column * (frameWidth + SheetGap));
    const size_t top = static_cast<size_t>(row * (frameHeight + SheetGap));
    const size_t rowBytes = static_cast<size_t>(frameWidth) * 3;
    for (int32_t y = 0; y < frameHeight; ++y) {
        uint8_t* to = sheet->data() + ((top + y) * layout.width + left) * 3;
        std::memcpy(to, frameRgb.data() + y * rowBytes, rowBytes);
    }
}
