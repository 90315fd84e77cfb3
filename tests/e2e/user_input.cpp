#include "tests/e2e/user_input.h"

#include "tests/e2e/waiting.h"

namespace {

constexpr DWORD kSettleMilliseconds = 60;

// Absolute coordinates are 0..65535 across the screen; rounding to the centre of the pixel keeps
// the cursor on exactly the pixel asked for.
LONG ToAbsolute(int pixel, int extent) {
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + 32768) / extent);
}

}  // namespace

void PressKey(WORD virtualKey) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    Pause(kSettleMilliseconds);
}

void SendMouseButtons(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
    Pause(kSettleMilliseconds);
}

void MoveMouseTo(int x, int y) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ToAbsolute(x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = ToAbsolute(y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(INPUT));
    Pause(kSettleMilliseconds);
}
