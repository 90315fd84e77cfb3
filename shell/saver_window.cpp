#include "shell/saver_window.h"

#include "res/ui_texts.h"
#include "saver_rules/mouse_rule.h"
#include "shell/password_check.h"
#include "shell/saver_state.h"
#include "shell/scene_runner.h"

namespace {

constexpr DWORD PreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD RunStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// A process shows one saver window, but may create it again after the first is gone (the
// tests do); the class it registered the first time is as good as a new one.
bool RegisterSaverClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = Instance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = ZOVA_WINDOW_CLASS;
    if (RegisterClassA(&windowClass) != 0) return true;
    WNDCLASSA existing = {};
    return GetClassInfoA(Instance, ZOVA_WINDOW_CLASS, &existing) &&
           existing.lpfnWndProc == SaverWindowProc;
}

bool IsPreview() { return CurrentMode == Preview; }

void PostCloseRequest() { PostMessageA(SaverWindow, WM_CLOSE, 0, 0); }

void OnCreate(HWND window) {
    SaverWindow = window;
    InitScene();
    FrameTimer = SetTimer(window, 0, FrameIntervalMs, nullptr);
    if (!IsPreview()) {
        GetCursorPos(&SavedCursorPos);
        ShowCursor(FALSE);
    }
}

void OnDestroy(HWND window) {
    KillTimer(window, FrameTimer);
    ShowCursor(TRUE);
    SaverCanvas.Destroy();
    PostQuitMessage(0);
}

void OnClose(HWND window) {
    if (IsPreview()) {
        DestroyWindow(window);
        return;
    }
    if (VerifyPasswordOnClose(SaverWindow) != 0) {
        // Refused: start over from where the cursor was, with a fresh grace period.
        SetCursorPos(SavedCursorPos.x, SavedCursorPos.y);
        MouseMoveCount = 0;
        return;
    }
    DestroyWindow(window);
}

// The DC in wParam may be clipped to the update region; the whole client area goes black.
void EraseToBlack(HWND window) {
    HDC dc = GetDC(window);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(window, dc);
    // The black covers the balls on the window, not on the canvas.
    RequestWholeCopy();
}

void DrawFrame() {
    HDC dc = GetDC(SaverWindow);
    StepAndPresentFrame(dc);
    ReleaseDC(SaverWindow, dc);
}

}  // namespace

int CreateSaverWindow(int isPreview) {
    if (!RegisterSaverClass()) return 1;

    int width = 0;
    int height = 0;
    if (isPreview) {
        RECT parentRect = {};
        GetWindowRect(ParentWindow, &parentRect);
        width = parentRect.right - parentRect.left;
        height = parentRect.bottom - parentRect.top;
    } else {
        HDC screen = GetDC(nullptr);
        width = GetDeviceCaps(screen, HORZRES);
        height = GetDeviceCaps(screen, VERTRES);
        ReleaseDC(nullptr, screen);
    }
    // The scene reads the size while the window is being created.
    SaverWidth = static_cast<int16_t>(width);
    SaverHeight = static_cast<int16_t>(height);

    SaverWindow = CreateWindowExA(isPreview ? 0 : WS_EX_TOPMOST, ZOVA_WINDOW_CLASS, "Screen Saver",
                                  isPreview ? PreviewStyle : RunStyle, 0, 0, SaverWidth,
                                  SaverHeight, ParentWindow, nullptr, Instance, nullptr);
    return SaverWindow == nullptr ? 1 : 0;
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(window);
            break;
        case WM_DESTROY:
            OnDestroy(window);
            return 0;
        case WM_CLOSE:
            OnClose(window);
            return 0;
        case WM_ERASEBKGND:
            EraseToBlack(window);
            break;
        case WM_TIMER:
            DrawFrame();
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (IsPreview()) break;
            PostCloseRequest();
            return 0;
        case WM_MOUSEMOVE:
            if (IsPreview()) break;
            if (MouseMoveEndsSaver(&MouseMoveCount, SavedCursorPos.x, SavedCursorPos.y,
                                   static_cast<uint32_t>(lParam))) {
                PostCloseRequest();
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            // No system command (close, move, the screen saver itself) acts on this window.
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
