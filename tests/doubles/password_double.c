/* Test double of the system's PASSWORD.CPL: answers as the test arranged and records each call. */
#include <windows.h>

#include "double_protocol.h"
#include "double_record.h"

BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    HKEY key = OpenDoubleKey();
    IncrementDoubleDword(key, ZOVA_VERIFY_CALLS);
    WriteDoubleQword(key, ZOVA_VERIFY_LAST_WINDOW, (ULONGLONG)(ULONG_PTR)window);
    WriteDoubleModulePath(key, ZOVA_VERIFY_MODULE, (const void*)VerifyScreenSavePwd);
    DWORD showDialog = ReadDoubleDword(key, ZOVA_VERIFY_SHOW_DIALOG);
    DWORD answer = ReadDoubleDword(key, ZOVA_VERIFY_ANSWER);
    if (key != NULL) RegCloseKey(key);
    if (showDialog) ShowDoubleDialog(L"VerifyScreenSavePwd");
    return answer ? TRUE : FALSE;
}
