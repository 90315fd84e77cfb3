#include "window_test_support.h"

namespace {

constexpr char HostClass[] = "ZovaTestHost";

void RegisterHostClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = HostClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs) return done();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

bool TakePostedMessage(HWND window, UINT message, MSG* taken) {
    MSG local;
    MSG* target = taken != nullptr ? taken : &local;
    return PeekMessageA(target, window, message, message, PM_REMOVE | PM_NOYIELD) != 0;
}

void DiscardQuitMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

int CursorDisplayCount() {
    const int raised = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return raised - 1;
}

void RestoreCursorDisplayCount(int value) {
    int current = CursorDisplayCount();
    while (current < value) current = ShowCursor(TRUE);
    while (current > value) current = ShowCursor(FALSE);
}

COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

HostWindow::HostWindow(DWORD style, int x, int y, int width, int height) {
    RegisterHostClass();
    window_ = CreateWindowExA(0, HostClass, "host", style, x, y, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
}

HostWindow::~HostWindow() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

DibSurface::DibSurface(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    if (bitmap_ == nullptr || dc_ == nullptr) return;
    previous_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<uint32_t*>(bits);
}

DibSurface::~DibSurface() {
    if (dc_ != nullptr) {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

uint32_t DibSurface::Pixel(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0x00FFFFFFu;
}

void DibSurface::Fill(uint32_t value) {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = value;
}
