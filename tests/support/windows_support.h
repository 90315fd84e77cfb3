#pragma once

// What the Windows-side tests and the end-to-end driver share: the test prefix's registry,
// waiting with a deadline, windows of the test's own, message boxes, and the password-provider
// doubles with their records.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<BYTE>;

// Keys under HKEY_CURRENT_USER.
constexpr char SettingsKey[] = "Software\\Nurvo\\SCREEN SAVER\\ZOVA";
constexpr char DesktopKey[] = "Control Panel\\desktop";
constexpr char PasswordFlag[] = "ScreenSaveUsePassword";

inline Bytes DwordBytes(uint32_t v) {
    return {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
}

// Type REG_NONE: no value.
inline void SetValue(const char* key, const char* name, DWORD type, const Bytes& data = {}) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, key, name);
    if (type != REG_NONE)
        RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, data.data(), DWORD(data.size()));
}

inline void SetDword(const char* key, const char* name, uint32_t value) {
    SetValue(key, name, REG_DWORD, DwordBytes(value));
}

// The value's bytes, none when absent; *type gets its type, REG_NONE when absent.
inline Bytes ReadValue(const char* key, const char* name, DWORD* type = nullptr) {
    Bytes data(64);
    DWORD size = DWORD(data.size()), found = REG_NONE;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &found, data.data(),
                     &size))
        size = 0;
    if (type != nullptr) *type = found;
    data.resize(size);
    return data;
}

inline bool KeyExists(const char* path) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

inline void DeleteKeyTree(const char* path) { RegDeleteTreeA(HKEY_CURRENT_USER, path); }

// The registry refuses a lasting key below a volatile one: code that opens a key below this one
// fails as on a broken registry. The caller closes it.
inline HKEY MakeVolatileKey(const char* path) {
    DeleteKeyTree(path);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    return key;
}

// Leaves nonzero bytes on the stack, so that a local buffer of the next call starts out dirty.
inline void DirtyStack() {
    volatile unsigned char filler[16384];
    for (auto& byte : filler) byte = 0xA5;
}

// Dispatches this thread's messages (a window or box of the test's own needs them) until the
// condition holds or the time is up; returns the condition.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void Pause(DWORD milliseconds) {
    WaitUntil([] { return false; }, milliseconds);
}

// A visible top-level window with a frame (so its window rectangle is larger than its client
// area): a preview host, an owner, a window in front.
struct TestWindow {
    TestWindow() = default;
    TestWindow(const TestWindow&) = delete;
    ~TestWindow() { DestroyWindow(handle); }
    HWND handle = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200,
                                  300, 200, nullptr, nullptr, nullptr, nullptr);
};

inline std::string HandleText(HWND window) { return std::to_string(uintptr_t(window)); }

// The visible top-level windows of a process, of one class unless className is null.
inline std::vector<HWND> WindowsOf(DWORD processId, const char* className = nullptr) {
    std::vector<HWND> windows;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, className, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId && IsWindowVisible(w)) windows.push_back(w);
    }
    return windows;
}

struct SeenBox {
    HWND window;
    std::wstring seen;  // "caption|text|" and [] per button, then "|owned" if it has an owner
};

// The message boxes and dialogs of a process.
inline std::vector<SeenBox> BoxesOf(DWORD processId) {
    std::vector<SeenBox> boxes;
    for (HWND box : WindowsOf(processId, "#32770")) {
        wchar_t text[256] = L"";
        GetWindowTextW(box, text, 256);
        std::wstring seen = text;
        GetDlgItemTextW(box, 0xFFFF, text, 256);  // a message box's text
        seen = seen + L"|" + text + L"|";
        for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            GetClassNameW(c, text, 256);
            if (lstrcmpiW(text, L"Button") == 0 && IsWindowVisible(c)) seen += L"[]";
        }
        boxes.push_back({box, GetWindow(box, GW_OWNER) != nullptr ? seen + L"|owned" : seen});
    }
    return boxes;
}

// Posted: a sent click that opens a modal box returns only when the box closes.
inline void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// While it lives, each box or dialog this process shows (found by a timer that its own modal
// loop dispatches) is recorded and handed to onBox, or dismissed with OK when there is none;
// after ten seconds it is ended, so that a box left open fails a test instead of hanging it.
// Boxes already up are left alone.
class BoxWatcher {
  public:
    explicit BoxWatcher(std::function<void(HWND)> onBox = nullptr) : onBox_(std::move(onBox)) {
        for (const SeenBox& box : BoxesOf(GetCurrentProcessId())) known_.insert(box.window);
        outer_ = std::exchange(active_, this);
        timer_ = SetTimer(nullptr, 0, 15, Tick);
    }
    ~BoxWatcher() {
        KillTimer(nullptr, timer_);
        active_ = outer_;
    }
    BoxWatcher(const BoxWatcher&) = delete;
    std::vector<SeenBox> seen;

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        BoxWatcher* self = active_;
        for (const SeenBox& box : BoxesOf(GetCurrentProcessId())) {
            if (GetTickCount64() > self->deadline_) EndDialog(box.window, -1);
            if (!self->known_.insert(box.window).second) continue;
            self->seen.push_back(box);
            self->onBox_ ? self->onBox_(box.window) : Click(box.window, IDOK);
        }
    }

    inline static BoxWatcher* active_ = nullptr;
    BoxWatcher* outer_;
    std::function<void(HWND)> onBox_;
    std::set<HWND> known_;
    const ULONGLONG deadline_ = GetTickCount64() + 10000;
    UINT_PTR timer_ = 0;
};

// The password-provider doubles: PASSWORD.CPL exports only VerifyScreenSavePwd, MPR.DLL only
// PwdChangePasswordA. A call counts itself ("Calls") and leaves its arguments ("Args") under
// DoubleKey, shows a modal box captioned with its function's name when "Dialog" is nonzero, then
// answers "Answer". The saver looks for them in the system directory of this process (give it
// the bitness of the program under test); the fixture tells Wine to take an mpr.dll from there.
constexpr char DoubleKey[] = "Software\\ZovaTest";

inline std::string SystemFile(const char* name) {
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

// Copies the double built as `built` into the system directory under the name `as`.
inline bool InstallDouble(const char* built, const char* as) {
    std::string path = std::string("Z:" ZOVA_DOUBLES_DIR "/") + built;  // the host's root is Z:
    for (char& c : path) c = c == '/' ? '\\' : c;
    return CopyFileA(path.c_str(), SystemFile(as).c_str(), FALSE) != 0;
}

inline void ArrangeDouble(uint32_t answer, bool dialog = false) {
    DeleteKeyTree(DoubleKey);
    SetDword(DoubleKey, "Answer", answer);
    SetDword(DoubleKey, "Dialog", dialog);
}

inline std::string DoubleArgs() {
    const Bytes data = ReadValue(DoubleKey, "Args");
    return data.empty() ? "" : std::string(data.begin(), data.end() - 1);
}
