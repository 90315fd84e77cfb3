#pragma once

#include <cstdint>
#include <vector>

class RasterImage;

// Top-down RGB copy of a 24-bit canvas (which is bottom-up BGR with padded rows): width x 3
// bytes per row, row 0 first. Empty when the canvas has no 24-bit pixels.
std::vector<uint8_t> CanvasToRgb(const RasterImage& canvas);

// Frames laid out row by row on one picture, separated by a grey gap.
struct SheetLayout {
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t width = 0;   // pixels
    int32_t height = 0;  // pixels
};

constexpr int32_t SheetGap = 4;
// Largest sheet the tool agrees to hold in memory, in bytes of RGB.
constexpr int64_t MaxSheetBytes = int64_t{1} << 29;

// Layout of `frames` frames of frameWidth x frameHeight in up to `columns` columns. Returns false
// (and leaves *layout alone) when the sheet would exceed MaxSheetBytes.
bool LayoutSheet(int64_t frames, int32_t columns, int32_t frameWidth, int32_t frameHeight,
                 SheetLayout* layout);

// A sheet filled with the gap colour.
std::vector<uint8_t> NewSheet(const SheetLayout& layout);

// Copies frame number `index` (0 = top left) into its cell.
void PlaceOnSheet(std::vector<uint8_t>* sheet, const SheetLayout& layout, int64_t index,
                  const std::vector<uint8_t>& frameRgb, int32_t frameWidth, int32_t frameHeight);
