#pragma once

#include <windows.h>

class RasterImage;
struct ChangedArea;
struct PixelRect;

// Copies one rectangle of a 24-bit canvas to the same place in the device context, unscaled,
// with the header of the whole bottom-up canvas. Nothing when the canvas has no 24-bit pixels.
void CopyCanvasRect(HDC dc, const RasterImage& canvas, const PixelRect& rect);
// Copies the changed area: the whole canvas, or each of its rectangles.
void CopyChangedArea(HDC dc, const RasterImage& canvas, const ChangedArea& changed);
