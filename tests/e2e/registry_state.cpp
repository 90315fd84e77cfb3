#include "tests/e2e/registry_state.h"

namespace {

HKEY OpenKey(const char* key) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return handle;
}

}  // namespace

bool KeyExists(const char* key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

bool SetDword(const char* key, const char* name, DWORD value) {
    HKEY handle = OpenKey(key);
    if (handle == nullptr) return false;
    const LONG result = RegSetValueExA(handle, name, 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool ReadDword(const char* key, const char* name, DWORD* value) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD size = sizeof *value;
    const LONG result =
        RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof *value;
}

bool ReadQword(const char* key, const char* name, unsigned long long* value) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD size = sizeof *value;
    const LONG result =
        RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS && type == REG_QWORD && size == sizeof *value;
}

std::string ReadString(const char* key, const char* name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return "";
    char buffer[1024] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer - 1;
    const LONG result =
        RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::string(buffer) : std::string();
}

void DeleteValue(const char* key, const char* name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
    RegDeleteValueA(handle, name);
    RegCloseKey(handle);
}

void DeleteKeyTree(const char* key) {
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

bool CreateVolatileKey(const char* key) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

SavedRegistryValue::SavedRegistryValue(const char* key, const char* name) : key_(key), name_(name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExA(handle, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        existed_ =
            RegQueryValueExA(handle, name, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(handle);
}

SavedRegistryValue::~SavedRegistryValue() {
    if (!existed_) {
        DeleteValue(key_.c_str(), name_.c_str());
        return;
    }
    HKEY handle = OpenKey(key_.c_str());
    if (handle == nullptr) return;
    RegSetValueExA(handle, name_.c_str(), 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
    RegCloseKey(handle);
}
