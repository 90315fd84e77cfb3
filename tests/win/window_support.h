#pragma once

// Real windows, messages, the cursor and drawing surfaces for the Windows-side tests.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>

// Dispatches this thread's messages until done() holds or timeoutMs have passed; returns done().
inline bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < timeoutMs;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return done();
}

// Removes one posted message of that kind (for window, or for any when null) undispatched.
inline bool TakePostedMessage(HWND window, UINT message, MSG* taken = nullptr) {
    MSG local;
    return PeekMessageA(taken != nullptr ? taken : &local, window, message, message, PM_REMOVE);
}

// The display count that ShowCursor raises and lowers, left as it was.
inline int CursorDisplayCount() {
    const int raised = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return raised - 1;
}

inline void RestoreCursorDisplayCount(int value) {
    for (int now = CursorDisplayCount(); now != value;) now = ShowCursor(now < value);
}

// A plain visible top-level window for a test to own: a preview host, an owner, a foreground
// window.
struct TestWindow {
    TestWindow() = default;
    TestWindow(const TestWindow&) = delete;
    ~TestWindow() { DestroyWindow(handle); }
    HWND handle = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60,
                                  300, 200, nullptr, nullptr, nullptr, nullptr);
};

// A memory device context over a top-down 32-bit DIB section, every pixel first set to fill.
struct DibSurface {
    DibSurface(int width, int height, uint32_t fill) : width(width) {
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                           {}};
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits),
                                  nullptr, 0);
        SelectObject(dc, bitmap);
        std::fill_n(bits, width * height, fill);
    }
    DibSurface(const DibSurface&) = delete;
    ~DibSurface() {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    // 0x00RRGGBB, row 0 at the top.
    uint32_t Pixel(int x, int y) const {
        GdiFlush();
        return bits[y * width + x] & 0x00FFFFFFu;
    }

    int width;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    uint32_t* bits = nullptr;
};
