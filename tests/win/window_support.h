#pragma once

// Real windows, messages and message boxes for the Windows-side tests.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Dispatches this thread's messages until done() holds or timeoutMs have passed; returns done().
inline bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < timeoutMs;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return done();
}

// Removes one posted message of that kind (for window, or for any when null) undispatched. As
// PeekMessage does, a pending WM_QUIT is taken whatever the kind asked for.
inline bool TakePostedMessage(HWND window, UINT message, MSG* taken = nullptr) {
    MSG local;
    return PeekMessageA(taken != nullptr ? taken : &local, window, message, message, PM_REMOVE);
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

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner;
};

// While it lives, every message box this thread shows (found by a timer that the box's own modal
// loop dispatches) is recorded and dismissed with OK; the first is handed to onBox before, which
// may re-enter the code under test. Dialogs already up when it starts are left alone.
class BoxWatcher {
  public:
    explicit BoxWatcher(std::function<void()> onBox = nullptr) : onBox_(std::move(onBox)) {
        EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 15, Tick);
    }
    ~BoxWatcher() {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }
    BoxWatcher(const BoxWatcher&) = delete;
    std::vector<SeenBox> seen;

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (active_ != nullptr) EnumThreadWindows(GetCurrentThreadId(), Collect, LPARAM(active_));
    }
    static BOOL CALLBACK Collect(HWND window, LPARAM watcher) {
        auto* self = reinterpret_cast<BoxWatcher*>(watcher);
        char name[8] = "";
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, "#32770") != 0 || !self->known_.insert(window).second) return TRUE;
        if (self != active_) return TRUE;  // still starting: a dialog that was already up
        wchar_t caption[256] = L"", text[256] = L"";
        GetWindowTextW(window, caption, 256);
        GetDlgItemTextW(window, 0xFFFF, text, 256);  // the box's message
        self->seen.push_back({caption, text, GetWindow(window, GW_OWNER)});
        if (self->onBox_) std::exchange(self->onBox_, nullptr)();
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return TRUE;
    }

    inline static BoxWatcher* active_ = nullptr;
    std::function<void()> onBox_;
    std::set<HWND> known_;
    UINT_PTR timer_ = 0;
};
