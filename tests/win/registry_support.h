#pragma once

// Registry arrangements for the Windows-side tests, below HKEY_CURRENT_USER of the test prefix.

#include <windows.h>

#include <cstdint>
#include <vector>

using Bytes = std::vector<BYTE>;

// The 4 bytes of a REG_DWORD, low byte first.
inline Bytes DwordBytes(uint32_t v) {
    return {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
}

inline void DeleteKeyTree(const char* path) { RegDeleteTreeA(HKEY_CURRENT_USER, path); }

inline bool KeyExists(const char* path) {
    HKEY key = nullptr;
    return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS &&
           RegCloseKey(key) == ERROR_SUCCESS;
}

inline void SetRawValue(const char* path, const char* name, DWORD type, const Bytes& data) {
    RegSetKeyValueA(HKEY_CURRENT_USER, path, name, type, data.data(),
                    static_cast<DWORD>(data.size()));
}

struct StoredValue {
    bool present;
    DWORD type;
    Bytes data;
};

inline StoredValue ReadStoredValue(const char* path, const char* name) {
    StoredValue stored = {false, REG_NONE, Bytes(64)};
    DWORD size = static_cast<DWORD>(stored.data.size());
    stored.present = RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_ANY | RRF_NOEXPAND,
                                  &stored.type, stored.data.data(), &size) == ERROR_SUCCESS;
    stored.data.resize(stored.present ? size : 0);
    return stored;
}

// The registry refuses a non-volatile key below a volatile one, so code that opens a key below
// the one returned fails as on a broken registry. The caller closes it.
inline HKEY CreateVolatileKey(const char* path) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    return key;
}

// Leaves nonzero bytes on the stack, so that a local buffer of the next call starts out dirty
// instead of happening to be zero.
inline void DirtyStack() {
    volatile unsigned char filler[16384];
    for (auto& byte : filler) byte = 0xA5;
}
