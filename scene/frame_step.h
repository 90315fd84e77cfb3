#pragma once

#include <cstdint>

class RasterImage;

// One tick of the scene without the transfer to the screen: clears the canvas, then draws,
// collides, steers, moves and rolls every ball in index order.
void StepScene(RasterImage& canvas, int32_t width, int32_t height);
