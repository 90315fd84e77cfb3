#pragma once

#include <windows.h>

#include <cstdint>

#include "frames/frame_loop.h"
#include "saver_rules/switch_search.h"

// Everything the saver shell keeps while it runs: one value, owned by WinMain and reached from
// the window procedure through the window's user data. Tests make their own.
struct SaverShell {
    int16_t CurrentMode = Configure;  // a SaverMode
    HWND ParentWindow = nullptr;      // preview parent, full-screen owner, change-password owner
    HINSTANCE Instance = nullptr;     // the module the class, window and dialog are created with
    HWND SaverWindow = nullptr;
    // The window's place: in screen coordinates, the virtual screen's origin outside Preview and
    // (0, 0) within the preview host. The size fits 16 bits, as it always has.
    POINT WindowOrigin = {0, 0};
    int16_t SaverWidth = 0;
    int16_t SaverHeight = 0;
    POINT SavedCursorPos = {0, 0};  // screen position at the start, or after a refused close
    uint16_t MouseMoveCount = 0;
    UINT_PTR FrameTimer = 0;
    int32_t PasswordCheckDepth = 0;  // nonzero while a password check runs
    // One scene per monitor, and this tick's copies: kept here, so a tick allocates nothing.
    FrameLoop Frames;
    FrameCopies Copies;
};
