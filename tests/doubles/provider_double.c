/* Stand-in for the system's password provider, for the tests only: built as PASSWORD.CPL with
 * VerifyScreenSavePwd, and as MPR.DLL with PwdChangePasswordA. How a test arranges and reads it:
 * tests/support/windows_support.h. */
#include <windows.h>

static DWORD Record(const char* function, const char* args) {
    HKEY key;
    DWORD calls = 0, answer = 0, dialog = 0, size = sizeof(DWORD);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ZovaTest", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                        &key, NULL) != ERROR_SUCCESS) {
        return 0;
    }
    RegQueryValueExA(key, "Calls", NULL, NULL, (BYTE*)&calls, &size);
    RegQueryValueExA(key, "Answer", NULL, NULL, (BYTE*)&answer, &size);
    RegQueryValueExA(key, "Dialog", NULL, NULL, (BYTE*)&dialog, &size);
    ++calls;
    RegSetValueExA(key, "Calls", 0, REG_DWORD, (const BYTE*)&calls, sizeof calls);
    RegSetValueExA(key, "Args", 0, REG_SZ, (const BYTE*)args, (DWORD)lstrlenA(args) + 1);
    RegCloseKey(key);
    /* The system's dialog, played by a box without owner: the caller's windows keep getting
     * messages while it waits. */
    if (dialog) MessageBoxA(NULL, "ZovaTest", function, MB_OK);
    return answer;
}

#ifdef ZOVA_VERIFIER
__declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    char args[32];
    wsprintfA(args, "%lu", (unsigned long)(ULONG_PTR)window);
    return Record("VerifyScreenSavePwd", args) != 0;
}
#else
__declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD reserved, LPVOID reserved2) {
    char args[128];
    wsprintfA(args, "%.60s %lu %lu %lu", provider != NULL ? provider : "(null)",
              (unsigned long)(ULONG_PTR)parent, reserved, (unsigned long)(ULONG_PTR)reserved2);
    return Record("PwdChangePasswordA", args);
}
#endif
