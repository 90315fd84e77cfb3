#include "registry_support.h"

#include <cstring>

namespace {

constexpr char VolatileRootPath[] = "Software\\ZovaTestVolatileRoot";

}  // namespace

Bytes DwordBytes(uint32_t value) {
    Bytes bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

void DeleteKeyTree(const char* path) {
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

KeyCounts CountKeyContents(const char* path) {
    KeyCounts counts = {-1, -1};
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return counts;
    DWORD subkeys = 0;
    DWORD values = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        counts = {static_cast<long>(values), static_cast<long>(subkeys)};
    }
    RegCloseKey(key);
    return counts;
}

void SetRawValue(const char* path, const char* name, DWORD type, const Bytes& data) {
    RegSetKeyValueA(HKEY_CURRENT_USER, path, name, type, data.data(),
                    static_cast<DWORD>(data.size()));
}

void DeleteValue(const char* path, const char* name) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, path, name);
}

StoredValue ReadStoredValue(const char* path, const char* name) {
    StoredValue stored = {false, REG_NONE, {}};
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_ANY | RRF_NOEXPAND, &stored.type,
                     nullptr, &size) != ERROR_SUCCESS) {
        return stored;
    }
    stored.data.resize(size);
    if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_ANY | RRF_NOEXPAND, &stored.type,
                     stored.data.data(), &size) != ERROR_SUCCESS) {
        return stored;
    }
    stored.data.resize(size);
    stored.present = true;
    return stored;
}

void CreateVolatileKey(const char* path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
}

VolatileCurrentUser::VolatileCurrentUser() {
    DeleteKeyTree(VolatileRootPath);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, VolatileRootPath, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &root_, nullptr) == ERROR_SUCCESS) {
        RegOverridePredefKey(HKEY_CURRENT_USER, root_);
    }
}

VolatileCurrentUser::~VolatileCurrentUser() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (root_ != nullptr) RegCloseKey(root_);
    DeleteKeyTree(VolatileRootPath);
}

void DirtyStack() {
    volatile unsigned char filler[16384];
    for (auto& byte : filler) byte = 0xA5;
}
