#include "tests/e2e/process_windows.h"

#include "tests/e2e/waiting.h"

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOfProcess(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
    auto* text = reinterpret_cast<std::wstring*>(context);
    if (ClassNameOf(child) != "Static" || !IsWindowVisible(child)) return TRUE;
    const std::wstring piece = WindowText(child);
    if (piece.empty()) return TRUE;
    if (!text->empty()) *text += L"\n";
    *text += piece;
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

std::string ClassNameOf(HWND window) {
    char buffer[256] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

std::vector<DialogView> VisibleDialogsOf(DWORD processId) {
    std::vector<DialogView> dialogs;
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassNameOf(window) != "#32770" || !IsWindowVisible(window)) continue;
        DialogView view;
        view.window = window;
        view.caption = WindowText(window);
        EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&view.text));
        dialogs.push_back(view);
    }
    return dialogs;
}

HWND WaitForDialog(DWORD processId, const std::wstring& caption, DWORD timeoutMilliseconds) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (const DialogView& view : VisibleDialogsOf(processId)) {
                if (view.caption == caption) found = view.window;
            }
            return found != nullptr;
        },
        timeoutMilliseconds);
    return found;
}

void ClickButton(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool DismissMessageBox(HWND box, DWORD timeoutMilliseconds) {
    ClickButton(box, GetDlgItem(box, IDOK) != nullptr ? IDOK : IDCANCEL);
    return WaitUntil([box] { return !IsWindow(box); }, timeoutMilliseconds);
}

HWND FindSaverTopLevel(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassNameOf(window) == "ZOVA.kvr") return window;
    }
    return nullptr;
}
