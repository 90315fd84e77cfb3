/* Test double of the system's MPR.DLL: answers as the test arranged and records each call. */
#include <windows.h>

#include "double_protocol.h"
#include "double_record.h"

DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD reserved1, LPVOID reserved2) {
    HKEY key = OpenDoubleKey();
    IncrementDoubleDword(key, ZOVA_CHANGE_CALLS);
    WriteDoubleString(key, ZOVA_CHANGE_PROVIDER, provider != NULL ? provider : "");
    WriteDoubleQword(key, ZOVA_CHANGE_PARENT, (ULONGLONG)(ULONG_PTR)parent);
    WriteDoubleDword(key, ZOVA_CHANGE_RESERVED1, reserved1);
    WriteDoubleQword(key, ZOVA_CHANGE_RESERVED2, (ULONGLONG)(ULONG_PTR)reserved2);
    WriteDoubleModulePath(key, ZOVA_CHANGE_MODULE, (const void*)PwdChangePasswordA);
    DWORD showDialog = ReadDoubleDword(key, ZOVA_CHANGE_SHOW_DIALOG);
    DWORD answer = ReadDoubleDword(key, ZOVA_CHANGE_ANSWER);
    if (key != NULL) RegCloseKey(key);
    if (showDialog) ShowDoubleDialog(L"PwdChangePasswordA");
    return answer;
}
