#pragma once

// Watching the modal loops of this thread: message boxes of this process are found while they
// block the code under test, read as a user sees them, and dismissed.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SeenBox {
    std::wstring caption;
    std::wstring text;  // the texts of its static controls, joined by newlines
    HWND owner;
};

// While it lives, a timer of this thread looks every few milliseconds for dialog windows
// (class #32770) of this process that did not exist when it started. Each new one is recorded,
// handed to onBox (which may re-enter the code under test while the box is up), then dismissed
// with its OK button. Boxes that appear while onBox runs are recorded and dismissed without
// calling onBox again.
class MessageBoxWatcher {
  public:
    explicit MessageBoxWatcher(std::function<void(const SeenBox&)> onBox = nullptr);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    const std::vector<SeenBox>& Seen() const { return seen_; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
    void Look();

    std::function<void(const SeenBox&)> onBox_;
    std::vector<HWND> known_;
    std::vector<SeenBox> seen_;
    UINT_PTR timer_ = 0;
    bool inCallback_ = false;
};

// Top-level dialog windows (class #32770) of this process, visible or not.
std::vector<HWND> ProcessDialogs();
std::wstring WindowText(HWND window);
