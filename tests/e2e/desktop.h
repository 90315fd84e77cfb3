#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/saver_process.h"

// The desktop as a user sees and works it: other processes' windows, real input, windows of the
// driver's own and the screen's pixels.

inline std::wstring WindowText(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

// The process's visible top-level windows, of one class unless className is null.
inline std::vector<HWND> WindowsOf(DWORD processId, const char* className = nullptr) {
    std::vector<HWND> windows;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) windows.push_back(window);
    }
    return windows;
}

// Whether the dialog shows a static text that reads exactly so.
inline bool ShowsText(HWND dialog, const std::wstring& text) {
    return FindWindowExW(dialog, nullptr, L"Static", text.c_str()) != nullptr;
}

// A visible dialog-class window (message box or dialog) with this caption; null on timeout.
inline HWND WaitForDialog(DWORD processId, const std::wstring& caption, DWORD timeout) {
    HWND found = nullptr;
    const auto find = [&] {
        for (HWND dialog : WindowsOf(processId, "#32770"))
            found = WindowText(dialog) == caption ? dialog : found;
        return found != nullptr;
    };
    WaitUntil(find, timeout);
    return found;
}

// Posted: the click may open a modal box, and a sent message would not return until it closes.
inline void ClickButton(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Clicks OK (or the only button of a box without one) and waits for the box to go.
inline bool DismissMessageBox(HWND box, DWORD timeout) {
    ClickButton(box, GetDlgItem(box, IDOK) != nullptr ? IDOK : IDCANCEL);
    return WaitUntil([box] { return !IsWindow(box); }, timeout);
}

// One event through SendInput, then a pause: moves sent back to back would merge into one
// mouse-move message.
inline void Send(INPUT event) {
    SendInput(1, &event, sizeof event);
    Pause(60);
}

inline void PressKey(WORD key) {
    for (DWORD flags : {0, KEYEVENTF_KEYUP}) {
        INPUT event = {INPUT_KEYBOARD, {}};
        event.ki = {key, 0, flags, 0, 0};
        Send(event);
    }
}

inline void Click(DWORD downFlag, DWORD upFlag) {
    for (DWORD flag : {downFlag, upFlag}) {
        INPUT event = {INPUT_MOUSE, {}};
        event.mi.dwFlags = flag;
        Send(event);
    }
}

inline void MoveMouseTo(int x, int y) {
    // Absolute coordinates run 0..65535 across the screen; aiming at the pixel's centre keeps the
    // cursor on exactly the pixel asked for.
    const auto absolute = [](int pixel, int extent) {
        return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + 32768) / extent);
    };
    INPUT event = {INPUT_MOUSE, {}};
    event.mi = {absolute(x, GetSystemMetrics(SM_CXSCREEN)),
                absolute(y, GetSystemMetrics(SM_CYSCREEN)),
                0,
                MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                0,
                0};
    Send(event);
}

// A borderless window of the driver's own (its window rectangle is its client area): the control
// panel's preview area, or the window in front when a saver starts.
using HostWindow = std::unique_ptr<HWND__, BOOL(WINAPI*)(HWND)>;

inline HostWindow MakeHostWindow(int x, int y, int width, int height) {
    return {CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, x, y, width, height,
                            nullptr, nullptr, nullptr, nullptr),
            DestroyWindow};
}

// As the control panel writes it on the command line.
inline std::string HandleText(HWND window) {
    return std::to_string(reinterpret_cast<uintptr_t>(window));
}

// The whole screen read back through GDI, as 0x00RRGGBB pixels, top row first.
inline std::vector<uint32_t> CaptureScreen() {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

// The saver's colours: stripes, then a ball turning back.
constexpr uint32_t kRed = 0xF00000, kWhite = 0xFFFFFF, kFlashPale = 0xFFC8C8, kFlashRed = 0xF06464;

inline bool IsBallColour(uint32_t pixel) {
    return pixel == kRed || pixel == kWhite || pixel == kFlashPale || pixel == kFlashRed;
}

inline long CountOf(const std::vector<uint32_t>& screen, uint32_t colour) {
    return static_cast<long>(std::count(screen.begin(), screen.end(), colour));
}

// Pixels neither black nor a ball's colour.
inline long ForeignPixels(const std::vector<uint32_t>& screen) {
    return static_cast<long>(std::count_if(screen.begin(), screen.end(),
                                           [](uint32_t p) { return p != 0 && !IsBallColour(p); }));
}

// Pixels that differ between two captures where either shows a ball's colour.
inline long ChangedBallPixels(const std::vector<uint32_t>& before,
                              const std::vector<uint32_t>& after) {
    long changed = 0;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        changed += before[i] != after[i] && (IsBallColour(before[i]) || IsBallColour(after[i]));
    }
    return changed;
}
