#pragma once

#include <windows.h>

#include "raster/raster_image.h"
#include "scene/scene.h"

// The process's one scene and one canvas: the canvas is constructed before WinMain, given pixels
// when the saver window is created and emptied again when it is destroyed.
extern Scene SaverScene;
extern RasterImage SaverCanvas;

// Starts the scene for the window being created: ball count, seed, canvas of
// SaverWidth x SaverHeight at 24 bits, ball placement.
void InitScene();
// One tick: steps the scene and copies what it changed to the device context.
void StepAndPresentFrame(HDC dc);
// The window was painted over (erased): the next frame copies the whole canvas.
void RequestWholeCopy();
