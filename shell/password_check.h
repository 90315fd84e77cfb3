#pragma once

#include <windows.h>

#include <cstdint>

// Asks the system's password verifier whether the saver may close. Returns 1 when the saver must
// stay open, 0 when it may close. *checkDepth is nonzero while a check runs: a request that comes
// through the check's own modal loops is refused at once.
int VerifyPasswordOnClose(int32_t* checkDepth, HWND window);
