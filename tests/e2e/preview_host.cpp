#include "tests/e2e/preview_host.h"

#include <cstdint>

namespace {

constexpr const char* kHostClass = "ZovaDriverHost";

void RegisterHostClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kHostClass;
    registered = RegisterClassA(&windowClass) != 0;
}

}  // namespace

PreviewHost::PreviewHost(int x, int y, int width, int height) {
    RegisterHostClass();
    // A borderless popup: its window rectangle is its client area, as for the panel's preview.
    window_ = CreateWindowExA(0, kHostClass, "preview host", WS_POPUP | WS_VISIBLE, x, y, width,
                              height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

PreviewHost::~PreviewHost() { Destroy(); }

std::string PreviewHost::HandleText() const {
    return std::to_string(reinterpret_cast<uintptr_t>(window_));
}

void PreviewHost::Destroy() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
}
