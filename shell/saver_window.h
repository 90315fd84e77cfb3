#pragma once

#include <windows.h>

// Registers the class and creates the preview child (isPreview nonzero) or the full-screen
// window. 0 when the window exists, 1 on failure.
int CreateSaverWindow(int isPreview);
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
