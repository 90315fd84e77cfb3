#pragma once

#include <windows.h>

#include <cstdint>

#include "saver_rules/switch_search.h"

// Process-wide state of the saver shell.
extern int16_t CurrentMode;  // a SaverMode
extern HWND ParentWindow;    // preview parent, full-screen owner, change-password owner
extern HINSTANCE Instance;   // the module the class, window and dialog are created with
extern HWND SaverWindow;
extern int16_t SaverWidth;  // window size, the scene's canvas size
extern int16_t SaverHeight;
extern POINT SavedCursorPos;  // screen position when the saver started, or after a refused close
extern uint16_t MouseMoveCount;
extern UINT_PTR FrameTimer;
extern int32_t PasswordCheckDepth;  // nonzero while a password check runs
