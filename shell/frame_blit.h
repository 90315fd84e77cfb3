#pragma once

#include <windows.h>

struct FrameCopyRect;

// Copies one rectangle of a 24-bit canvas to its place in the device context, unscaled, with the
// header of the whole bottom-up canvas. Nothing when the canvas has no 24-bit pixels.
void CopyCanvasRect(HDC dc, const FrameCopyRect& copy);
