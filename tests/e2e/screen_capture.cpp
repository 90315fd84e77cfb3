#include "tests/e2e/screen_capture.h"

#include <windows.h>

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0xF00000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kFlashPale = 0xFFC8C8;
constexpr uint32_t kFlashRed = 0xF06464;

bool IsBallColour(uint32_t pixel) {
    return pixel == kRed || pixel == kWhite || pixel == kFlashPale || pixel == kFlashRed;
}

}  // namespace

ScreenPixels CaptureScreen() {
    ScreenPixels screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = screen.width;
    info.bmiHeader.biHeight = -screen.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HDC memoryDc = CreateCompatibleDC(screenDc);
    HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && memoryDc != nullptr) {
        HGDIOBJ old = SelectObject(memoryDc, bitmap);
        BitBlt(memoryDc, 0, 0, screen.width, screen.height, screenDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const uint32_t*>(bits);
        screen.pixels.assign(first, first + static_cast<size_t>(screen.width) * screen.height);
        for (uint32_t& pixel : screen.pixels) pixel &= 0xFFFFFF;
        SelectObject(memoryDc, old);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memoryDc != nullptr) DeleteDC(memoryDc);
    ReleaseDC(nullptr, screenDc);
    return screen;
}

ColourCensus CountColours(const ScreenPixels& screen) {
    ColourCensus census;
    for (uint32_t pixel : screen.pixels) {
        switch (pixel) {
            case kBlack:
                ++census.black;
                break;
            case kRed:
                ++census.red;
                break;
            case kWhite:
                ++census.white;
                break;
            case kFlashPale:
            case kFlashRed:
                ++census.flash;
                break;
            default:
                ++census.foreign;
                break;
        }
    }
    return census;
}

long ChangedBallPixels(const ScreenPixels& before, const ScreenPixels& after) {
    if (before.pixels.size() != after.pixels.size()) return 0;
    long changed = 0;
    for (size_t i = 0; i < before.pixels.size(); ++i) {
        const uint32_t a = before.pixels[i];
        const uint32_t b = after.pixels[i];
        if (a != b && (IsBallColour(a) || IsBallColour(b))) ++changed;
    }
    return changed;
}
