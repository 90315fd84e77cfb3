#include "shell/saver_state.h"

int16_t CurrentMode = Configure;
HWND ParentWindow = nullptr;
HINSTANCE Instance = nullptr;
HWND SaverWindow = nullptr;
int16_t SaverWidth = 0;
int16_t SaverHeight = 0;
POINT SavedCursorPos = {0, 0};
uint16_t MouseMoveCount = 0;
UINT_PTR FrameTimer = 0;
int32_t PasswordCheckDepth = 0;
