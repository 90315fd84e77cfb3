#include "shell/saver_window.h"

#include "res/ui_texts.h"
#include "saver_rules/mouse_rule.h"
#include "shell/monitor_layout.h"
#include "shell/password_check.h"
#include "shell/saver_shell.h"
#include "shell/scene_runner.h"

namespace {

constexpr DWORD PreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD RunStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// A process shows one saver window, but may create it again after the first is gone (the
// tests do); the class it registered the first time is as good as a new one.
bool RegisterSaverClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = ZOVA_WINDOW_CLASS;
    if (RegisterClassA(&windowClass) != 0) return true;
    WNDCLASSA existing = {};
    return GetClassInfoA(instance, ZOVA_WINDOW_CLASS, &existing) &&
           existing.lpfnWndProc == SaverWindowProc;
}

bool IsPreview(const SaverShell* shell) { return shell->CurrentMode == Preview; }

void PostCloseRequest(const SaverShell* shell) { PostMessageA(shell->SaverWindow, WM_CLOSE, 0, 0); }

void OnCreate(SaverShell* shell, HWND window) {
    shell->SaverWindow = window;
    InitScene(shell);
    shell->FrameTimer = SetTimer(window, 0, FrameIntervalMs, nullptr);
    if (!IsPreview(shell)) {
        GetCursorPos(&shell->SavedCursorPos);
        ShowCursor(FALSE);
    }
}

void OnDestroy(SaverShell* shell, HWND window) {
    KillTimer(window, shell->FrameTimer);
    ShowCursor(TRUE);
    StopFrameLoop(&shell->Frames);
    PostQuitMessage(0);
}

void OnClose(SaverShell* shell, HWND window) {
    if (IsPreview(shell)) {
        DestroyWindow(window);
        return;
    }
    if (VerifyPasswordOnClose(&shell->PasswordCheckDepth, shell->SaverWindow) != 0) {
        // Refused: start over from where the cursor was, on whichever monitor, with a fresh
        // grace period.
        SetCursorPos(shell->SavedCursorPos.x, shell->SavedCursorPos.y);
        shell->MouseMoveCount = 0;
        return;
    }
    DestroyWindow(window);
}

// The DC in wParam may be clipped to the update region; the whole client area goes black.
void EraseToBlack(SaverShell* shell, HWND window) {
    HDC dc = GetDC(window);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(window, dc);
    // The black covers the balls on the window, not on the canvases.
    RequestWholeCopy(shell);
}

void DrawFrame(SaverShell* shell) {
    HDC dc = GetDC(shell->SaverWindow);
    StepAndPresentFrame(shell, dc);
    ReleaseDC(shell->SaverWindow, dc);
}

// The full-screen window's place: the virtual screen, every monitor.
void TakeVirtualScreen(SaverShell* shell) {
    const RECT screen = VirtualScreenRect();
    shell->WindowOrigin = {screen.left, screen.top};
    shell->SaverWidth = static_cast<int16_t>(screen.right - screen.left);
    shell->SaverHeight = static_cast<int16_t>(screen.bottom - screen.top);
}

// Monitors came, went or changed size: the window covers the new virtual screen, with a scene of
// the new size on each monitor.
void OnDisplayChange(SaverShell* shell, HWND window) {
    TakeVirtualScreen(shell);
    InitScene(shell);
    // The window moving under the cursor is no move of the user's.
    shell->MouseMoveCount = 0;
    SetWindowPos(window, HWND_TOPMOST, shell->WindowOrigin.x, shell->WindowOrigin.y,
                 shell->SaverWidth, shell->SaverHeight, SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}

SaverShell* ShellOf(HWND window) {
    return reinterpret_cast<SaverShell*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

int CreateSaverWindow(SaverShell* shell, int isPreview) {
    if (!RegisterSaverClass(shell->Instance)) return 1;

    if (isPreview) {
        RECT parentRect = {};
        GetWindowRect(shell->ParentWindow, &parentRect);
        shell->WindowOrigin = {0, 0};
        shell->SaverWidth = static_cast<int16_t>(parentRect.right - parentRect.left);
        shell->SaverHeight = static_cast<int16_t>(parentRect.bottom - parentRect.top);
    } else {
        TakeVirtualScreen(shell);
    }
    // The scenes read the size while the window is being created.
    shell->SaverWindow =
        CreateWindowExA(isPreview ? 0 : WS_EX_TOPMOST, ZOVA_WINDOW_CLASS, "Screen Saver",
                        isPreview ? PreviewStyle : RunStyle, shell->WindowOrigin.x,
                        shell->WindowOrigin.y, shell->SaverWidth, shell->SaverHeight,
                        shell->ParentWindow, nullptr, shell->Instance, shell);
    return shell->SaverWindow == nullptr ? 1 : 0;
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    SaverShell* shell = ShellOf(window);
    // Messages before WM_NCCREATE, or a window made without a shell: nothing of the saver's.
    if (shell == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            OnCreate(shell, window);
            break;
        case WM_DESTROY:
            OnDestroy(shell, window);
            return 0;
        case WM_CLOSE:
            OnClose(shell, window);
            return 0;
        case WM_ERASEBKGND:
            EraseToBlack(shell, window);
            break;
        case WM_TIMER:
            DrawFrame(shell);
            break;
        case WM_DISPLAYCHANGE:
            if (!IsPreview(shell)) OnDisplayChange(shell, window);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (IsPreview(shell)) break;
            PostCloseRequest(shell);
            return 0;
        case WM_MOUSEMOVE: {
            if (IsPreview(shell)) break;
            // The message's position is in client coordinates: the saved one is brought there,
            // which on a window at the virtual screen's origin is where the monitors' lie.
            POINT saved = shell->SavedCursorPos;
            ScreenToClient(window, &saved);
            if (MouseMoveEndsSaver(&shell->MouseMoveCount, saved.x, saved.y,
                                   static_cast<uint32_t>(lParam))) {
                PostCloseRequest(shell);
                return 0;
            }
            break;
        }
        case WM_SYSCOMMAND:
            // No system command (close, move, the screen saver itself) acts on this window.
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
