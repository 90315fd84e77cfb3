#pragma once

// Helpers for driving real windows of this thread in the Windows-side tests: message pumping,
// posted-message checks, the cursor display count, host windows and memory surfaces to draw into.

#include <windows.h>

#include <cstdint>
#include <functional>

// Dispatches this thread's messages until done() holds or timeoutMs have passed; returns done().
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Removes one posted message of that kind (for window, or any window when null) from the queue
// without dispatching it; true when there was one.
bool TakePostedMessage(HWND window, UINT message, MSG* taken = nullptr);
// Removes every pending WM_QUIT, so that no later modal loop of the test run ends at once.
void DiscardQuitMessages();

// The cursor display count that ShowCursor raises and lowers (shown while >= 0), left unchanged.
int CursorDisplayCount();
// Raises or lowers the display count back to value.
void RestoreCursorDisplayCount(int value);

// The colour GDI reads back from the window's client area.
COLORREF WindowPixel(HWND window, int x, int y);

// A plain top-level window for a test to own: the preview host of the display control panel,
// or an owner of the full-screen window.
class HostWindow {
  public:
    HostWindow(DWORD style, int x, int y, int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Handle() const { return window_; }

  private:
    HWND window_ = nullptr;
};

// A memory device context with a top-down 32-bit DIB section selected into it.
class DibSurface {
  public:
    DibSurface(int width, int height);
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    HDC Dc() const { return dc_; }
    bool Valid() const { return bits_ != nullptr; }
    // Blue, green, red, unused: one 32-bit word per pixel, row 0 at the top.
    uint32_t Pixel(int x, int y) const;
    void Fill(uint32_t value);

  private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};
