#pragma once

#include <windows.h>

struct SaverShell;

// Registers the class and creates the preview child (isPreview nonzero) or the full-screen
// window over every monitor, with `shell` as the window's state. 0 when the window exists, 1 on
// failure.
int CreateSaverWindow(SaverShell* shell, int isPreview);
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
