#pragma once

#include <windows.h>

struct SaverShell;

// Starts the scenes for the window being created, or after the display changed: ball count,
// seed, one 24-bit canvas per monitor the window covers (the window itself in Preview), ball
// placement.
void InitScene(SaverShell* shell);
// One tick: steps every scene and copies what changed to the device context.
void StepAndPresentFrame(SaverShell* shell, HDC dc);
// The window was painted over (erased): the next frame copies every canvas whole.
void RequestWholeCopy(SaverShell* shell);
