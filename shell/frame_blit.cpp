#include "shell/frame_blit.h"

#include "frames/frame_loop.h"

void CopyCanvasRect(HDC dc, const FrameCopyRect& copy) {
    const RasterImage& canvas = *copy.canvas;
    const PixelRect& rect = copy.source;
    // Only a canvas that holds exactly the pixels the header below describes may be read:
    // without pixels (creation failed) nothing is shown.
    const int32_t width = canvas.Width();
    const int32_t height = canvas.Height();
    if (canvas.Depth() != 24 || canvas.RowPointer(height - 1) == nullptr) return;
    const int32_t left = rect.left < 0 ? 0 : rect.left;
    const int32_t top = rect.top < 0 ? 0 : rect.top;
    const int32_t right = rect.right > width ? width : rect.right;
    const int32_t bottom = rect.bottom > height ? height : rect.bottom;
    if (right <= left || bottom <= top) return;

    BITMAPINFO info = {};
    BITMAPINFOHEADER& header = info.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;  // positive: bottom-up rows, as the canvas keeps them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biXPelsPerMeter = 1;
    header.biYPelsPerMeter = 1;
    // Only the rectangle's rows are handed over: scan lines count from the bottom row, and the
    // pointer is that of the lowest of them (canvas row bottom - 1). The source y of a bottom-up
    // bitmap is measured from its bottom too.
    const UINT firstScan = static_cast<UINT>(height - bottom);
    const UINT scans = static_cast<UINT>(bottom - top);
    SetDIBitsToDevice(dc, copy.destX + left - rect.left, copy.destY + top - rect.top,
                      static_cast<DWORD>(right - left), scans, left, static_cast<int>(firstScan),
                      firstScan, scans, canvas.RowPointer(bottom - 1), &info, DIB_RGB_COLORS);
}
