// Presses a key the way a user would, for scripts that run the saver without a keyboard at hand:
// Escape ends the full-screen saver and cancels the setup dialog.
#include <windows.h>

int main() {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_ESCAPE;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2 ? 0 : 1;
}
