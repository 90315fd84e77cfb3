#include "raster/raster_image.h"
RasterImage::RasterImage() {}
RasterImage::~RasterImage() {}
PixelPlane::~PixelPlane() {}
