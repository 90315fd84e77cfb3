#include "settings/setup_dialog.h"

#include <commctrl.h>

#include "res/resource_ids.h"
#include "scene/tunables.h"
#include "settings/ball_count_store.h"
#include "res/ui_texts.h"

namespace {

void ShowSlider(HWND dialog) {
    uint32_t count = DefaultBallCount;
    ReadBallCount(&count);
    HWND slider = GetDlgItem(dialog, IDC_BALL_SLIDER);
    SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELONG(MinSliderBalls, MaxBalls));
    // The trackbar takes a signed 32-bit position: a stored count that reads as negative lands at
    // the low end on 32- and 64-bit Windows alike.
    SendMessageA(slider, TBM_SETPOS, TRUE, static_cast<LPARAM>(static_cast<LONG>(count)));
}

void StoreSlider(HWND dialog) {
    HWND slider = GetDlgItem(dialog, IDC_BALL_SLIDER);
    const auto count = static_cast<uint32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    if (!WriteBallCount(count)) {
        // The dialog stays open: the user may try again or cancel.
        MessageBoxA(nullptr, ZOVA_TEXT_REGISTRY_FAILED, ZOVA_CAPTION_REGISTRY_FAILED, MB_OK);
        return;
    }
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowSlider(dialog);
            return TRUE;
        case WM_COMMAND:
            // Only the id counts: the button, Enter and Esc all arrive as IDOK or IDCANCEL.
            switch (LOWORD(wParam)) {
                case IDOK:
                    StoreSlider(dialog);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, 1);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_CLOSE:
            EndDialog(dialog, 1);
            return TRUE;
        default:
            return FALSE;
    }
}
