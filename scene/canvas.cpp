#include "scene/canvas.h"

RasterImage Canvas;
