#pragma once

#include <windows.h>

#include <string>

// A window of the driver's own, standing in for the display control panel's preview area (and for
// any window whose handle a test passes on the saver's command line).
class PreviewHost {
  public:
    PreviewHost(int x, int y, int width, int height);
    ~PreviewHost();
    PreviewHost(const PreviewHost&) = delete;
    PreviewHost& operator=(const PreviewHost&) = delete;

    HWND Window() const { return window_; }
    // The handle as the control panel writes it on the command line: a decimal number.
    std::string HandleText() const;
    void Destroy();

  private:
    HWND window_ = nullptr;
};
