#include "shell/password_check.h"

#include <cstdint>

#include "res/ui_texts.h"
#include "shell/system_library.h"

namespace {

using VerifyScreenSavePwdFn = BOOL(WINAPI*)(HWND);

constexpr int StayOpen = 1;
constexpr int MayClose = 0;

void ShowCheckFailure() {
    MessageBoxA(nullptr, ZOVA_TEXT_PASSWORD_FAILED, ZOVA_CAPTION_PASSWORD_FAILED, MB_OK);
}

// The desktop password flag; false when it cannot be read (absent or longer than 4 bytes).
bool ReadPasswordFlag(HKEY desktop, uint32_t* flag) {
    // Zeroed first: a value shorter than 4 bytes fills only the low-order bytes.
    *flag = 0;
    DWORD size = sizeof *flag;
    return RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                            reinterpret_cast<BYTE*>(flag), &size) == ERROR_SUCCESS;
}

// The check proper, run while the check depth is raised, so that the modal loops of the
// message box and of the password dialog see it.
int CheckPassword(HWND window) {
    HKEY desktop = nullptr;
    char emptyClass[] = "";
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, emptyClass,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &desktop,
                        &disposition) != ERROR_SUCCESS) {
        ShowCheckFailure();
        return StayOpen;
    }
    uint32_t flag = 0;
    bool flagRead = ReadPasswordFlag(desktop, &flag);
    RegCloseKey(desktop);
    if (!flagRead || flag == 0) return MayClose;

    // Loaded afresh for each check and released right after it.
    HMODULE provider = LoadSystemLibrary("PASSWORD.CPL");
    if (provider == nullptr) {
        ShowCheckFailure();
        return StayOpen;
    }
    auto verify = reinterpret_cast<VerifyScreenSavePwdFn>(
        reinterpret_cast<void*>(GetProcAddress(provider, "VerifyScreenSavePwd")));
    if (verify == nullptr) {
        ShowCheckFailure();
        FreeLibrary(provider);
        return StayOpen;
    }
    BOOL accepted = verify(window);
    FreeLibrary(provider);
    return accepted ? MayClose : StayOpen;
}

}  // namespace

int VerifyPasswordOnClose(int32_t* checkDepth, HWND window) {
    if ((*checkDepth)++ != 0) {
        // A close request that reached us through the modal loop of a running check.
        --*checkDepth;
        return StayOpen;
    }
    int result = CheckPassword(window);
    --*checkDepth;
    return result;
}
