#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The current user's registry as the tests arrange it. Keys are paths under HKEY_CURRENT_USER.

constexpr const char* kSettingsKey = "Software\\Nurvo\\SCREEN SAVER\\ZOVA";
constexpr const char* kVendorKey = "Software\\Nurvo";
constexpr const char* kDesktopKey = "Control Panel\\desktop";

bool KeyExists(const char* key);
bool SetDword(const char* key, const char* name, DWORD value);
// False when the value is missing or is not a 4-byte REG_DWORD.
bool ReadDword(const char* key, const char* name, DWORD* value);
bool ReadQword(const char* key, const char* name, unsigned long long* value);
// Empty when the value is missing.
std::string ReadString(const char* key, const char* name);
void DeleteValue(const char* key, const char* name);
void DeleteKeyTree(const char* key);
// A key that lives only in memory; the system refuses to create a lasting key below it.
bool CreateVolatileKey(const char* key);

// Remembers a value as found and puts it back (or removes it again) when the test ends.
class SavedRegistryValue {
  public:
    SavedRegistryValue(const char* key, const char* name);
    ~SavedRegistryValue();
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

  private:
    std::string key_;
    std::string name_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};
