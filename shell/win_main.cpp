#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "res/resource_ids.h"
#include "settings/setup_dialog.h"
#include "shell/change_password.h"
#include "shell/command_line.h"
#include "res/ui_texts.h"
#include "shell/saver_shell.h"
#include "shell/saver_window.h"

namespace {

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // The shell's whole state: on the heap, as it holds a scene and canvas per monitor.
    const auto shell = std::make_unique<SaverShell>();
    shell->Instance = instance;
    // Only top-level windows are found: a running full-screen saver blocks every new start,
    // a preview inside the control panel does not.
    if (FindWindowA(ZOVA_WINDOW_CLASS, nullptr) != nullptr) return 0;
    if (ParseSaverCommandLine(commandLine, &shell->ParentWindow, &shell->CurrentMode) != 0)
        return 0;

    switch (shell->CurrentMode) {
        case Configure:
            // The dialog holds a trackbar.
            InitCommonControls();
            DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), nullptr, SetupDialogProc, 0);
            return 0;
        case Preview:
        case Run:
            if (CreateSaverWindow(shell.get(), shell->CurrentMode == Preview ? 1 : 0) != 0) {
                MessageBoxA(nullptr, ZOVA_TEXT_WINDOW_FAILED, ZOVA_CAPTION_INIT_ERROR,
                            MB_OK | MB_SETFOREGROUND);
                return 0;
            }
            return RunMessageLoop();
        case ChangePassword:
            RequestPasswordChange(shell->ParentWindow);
            return 0;
        default:
            return 0;
    }
}
