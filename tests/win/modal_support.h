#pragma once

// Message boxes that block the code under test: found from a timer that their own modal loop
// dispatches, read as a user sees them, and dismissed.

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

inline std::wstring WindowText(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner;
};

// While it lives, every message box this thread shows is recorded and dismissed with OK; the
// first one is handed to onBox before, which may re-enter the code under test. Dialogs already
// up when it starts are left alone.
class BoxWatcher {
  public:
    explicit BoxWatcher(std::function<void()> onBox = nullptr) : onBox_(std::move(onBox)) {
        Look(false);
        Active() = this;
        timer_ = SetTimer(nullptr, 0, 15, Tick);
    }
    ~BoxWatcher() {
        KillTimer(nullptr, timer_);
        Active() = nullptr;
    }
    BoxWatcher(const BoxWatcher&) = delete;
    std::vector<SeenBox> seen;

  private:
    static BoxWatcher*& Active() {
        static BoxWatcher* active = nullptr;
        return active;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (Active() != nullptr) Active()->Look(true);
    }
    static BOOL CALLBACK Collect(HWND window, LPARAM watcher) {
        char name[8] = "";
        GetClassNameA(window, name, sizeof name);
        auto* self = reinterpret_cast<BoxWatcher*>(watcher);
        if (lstrcmpA(name, "#32770") == 0 && self->known_.insert(window).second && self->handle_) {
            // The message stands in the box's static control 0xFFFF.
            self->seen.push_back({WindowText(window), WindowText(GetDlgItem(window, 0xFFFF)),
                                  GetWindow(window, GW_OWNER)});
            if (self->onBox_) std::exchange(self->onBox_, nullptr)();
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }
    void Look(bool handle) {
        handle_ = handle;
        EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    }

    std::function<void()> onBox_;
    std::set<HWND> known_;
    UINT_PTR timer_ = 0;
    bool handle_ = false;
};
