#include "double_record.h"

#include "double_protocol.h"

HKEY OpenDoubleKey(void) {
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ZOVA_DOUBLE_KEY, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS) {
        return NULL;
    }
    return key;
}

DWORD ReadDoubleDword(HKEY key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (key == NULL ||
        RegQueryValueExA(key, name, NULL, NULL, (BYTE*)&value, &size) != ERROR_SUCCESS ||
        size != sizeof value) {
        return 0;
    }
    return value;
}

void IncrementDoubleDword(HKEY key, const char* name) {
    WriteDoubleDword(key, name, ReadDoubleDword(key, name) + 1);
}

void WriteDoubleDword(HKEY key, const char* name, DWORD value) {
    if (key != NULL) RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
}

void WriteDoubleQword(HKEY key, const char* name, ULONGLONG value) {
    if (key != NULL) RegSetValueExA(key, name, 0, REG_QWORD, (const BYTE*)&value, sizeof value);
}

void WriteDoubleString(HKEY key, const char* name, const char* value) {
    if (key != NULL) {
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)value, (DWORD)lstrlenA(value) + 1);
    }
}

void WriteDoubleModulePath(HKEY key, const char* name, const void* address) {
    HMODULE module = NULL;
    char path[MAX_PATH] = "";
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            (LPCSTR)address, &module)) {
        GetModuleFileNameA(module, path, MAX_PATH);
    }
    WriteDoubleString(key, name, path);
}

void ShowDoubleDialog(const wchar_t* text) {
    MessageBoxW(NULL, text, L"" ZOVA_DOUBLE_CAPTION, MB_OK);
}
