#pragma once

#include <windows.h>

// Real input through SendInput, as a user's keyboard and mouse give it.

// Presses and releases a key.
void PressKey(WORD virtualKey);

// Sends mouse button events (MOUSEEVENTF_LEFTDOWN, ...) at the cursor's position, without moving.
void SendMouseButtons(DWORD flags);

// Moves the cursor to a screen position as one absolute move, then pauses: moves sent back to
// back are merged into a single mouse-move message.
void MoveMouseTo(int x, int y);
