#pragma once

#include <windows.h>

// Asks the system's password verifier whether the saver may close. Returns 1 when the saver must
// stay open, 0 when it may close.
int VerifyPasswordOnClose(HWND window);
