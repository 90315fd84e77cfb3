#pragma once

#include <windows.h>

// Starts the scene for the window being created: ball count, seed, canvas of
// SaverWidth x SaverHeight at 24 bits, ball placement.
void InitScene();
// One tick: steps the scene and copies the finished canvas to the device context.
void StepAndPresentFrame(HDC dc);
