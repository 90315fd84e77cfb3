#include "dll_modal_support.h"

#include <algorithm>
#include <map>

namespace {

std::map<UINT_PTR, MessageBoxWatcher*>& Watchers() {
    static std::map<UINT_PTR, MessageBoxWatcher*> watchers;
    return watchers;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM text) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    std::wstring childText = WindowText(child);
    auto* joined = reinterpret_cast<std::wstring*>(text);
    if (lstrcmpiA(className, "Static") == 0 && !childText.empty()) {
        if (!joined->empty()) *joined += L'\n';
        *joined += childText;
    }
    return TRUE;
}

void Dismiss(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    if (ok != nullptr) {
        SendMessageW(ok, BM_CLICK, 0, 0);
    } else {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

}  // namespace

std::vector<HWND> ProcessDialogs() {
    std::vector<HWND> found;
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = L"";
    int length = GetWindowTextW(window, text, 512);
    return std::wstring(text, length > 0 ? length : 0);
}

MessageBoxWatcher::MessageBoxWatcher(std::function<void(const SeenBox&)> onBox)
    : onBox_(std::move(onBox)), known_(ProcessDialogs()) {
    timer_ = SetTimer(nullptr, 0, 15, Tick);
    Watchers()[timer_] = this;
}

MessageBoxWatcher::~MessageBoxWatcher() {
    KillTimer(nullptr, timer_);
    Watchers().erase(timer_);
}

void CALLBACK MessageBoxWatcher::Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    auto found = Watchers().find(timer);
    if (found != Watchers().end()) found->second->Look();
}

void MessageBoxWatcher::Look() {
    for (HWND box : ProcessDialogs()) {
        if (std::find(known_.begin(), known_.end(), box) != known_.end() || !IsWindowVisible(box)) {
            continue;
        }
        known_.push_back(box);
        SeenBox seen = {WindowText(box), L"", GetWindow(box, GW_OWNER)};
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&seen.text));
        seen_.push_back(seen);
        if (onBox_ && !inCallback_) {
            inCallback_ = true;
            onBox_(seen);
            inCallback_ = false;
        }
        Dismiss(box);
    }
}
