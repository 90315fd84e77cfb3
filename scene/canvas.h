#pragma once

#include "raster/raster_image.h"

// The process's one canvas: constructed before WinMain, given pixels when the saver window is
// created and emptied again when it is destroyed.
extern RasterImage Canvas;
