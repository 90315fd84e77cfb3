#include "shell/change_password.h"

#include "res/ui_texts.h"
#include "shell/system_library.h"

namespace {

using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD reserved1,
                                                 LPVOID reserved2);

}  // namespace

void RequestPasswordChange(HWND owner) {
    HMODULE library = LoadSystemLibrary("MPR.DLL");
    if (library == nullptr) {
        MessageBoxA(nullptr, ZOVA_TEXT_MPR_MISSING, ZOVA_CAPTION_MPR_MISSING, MB_OK);
        return;
    }
    auto change = reinterpret_cast<PwdChangePasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    // The provider shows and stores everything itself; its answer changes nothing here.
    if (change != nullptr) change("SCRSAVE", owner, 0, nullptr);
    FreeLibrary(library);
}
