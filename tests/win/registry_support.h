#pragma once

// Registry arrangements for the Windows-side tests, all below HKEY_CURRENT_USER of the test
// prefix.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<BYTE>;

// The 4 bytes of a 32-bit number as the registry stores a REG_DWORD.
Bytes DwordBytes(uint32_t value);

void DeleteKeyTree(const char* path);
bool KeyExists(const char* path);
// Values and subkeys of an existing key; -1 each when it cannot be opened.
struct KeyCounts {
    long values;
    long subkeys;
};
KeyCounts CountKeyContents(const char* path);

void SetRawValue(const char* path, const char* name, DWORD type, const Bytes& data);
void DeleteValue(const char* path, const char* name);

struct StoredValue {
    bool present;
    DWORD type;
    Bytes data;
};
StoredValue ReadStoredValue(const char* path, const char* name);

// A volatile key: the registry refuses to create a non-volatile key below it
// (ERROR_CHILD_MUST_BE_VOLATILE), so code that opens a key below it with the non-volatile option
// fails as on a broken registry.
void CreateVolatileKey(const char* path);

// While it lives, HKEY_CURRENT_USER of this process is a fresh volatile key, below which no
// non-volatile key can be created: every RegCreateKeyExA on HKEY_CURRENT_USER with the
// non-volatile option fails, also for keys that exist in the real user hive.
class VolatileCurrentUser {
  public:
    VolatileCurrentUser();
    ~VolatileCurrentUser();
    VolatileCurrentUser(const VolatileCurrentUser&) = delete;
    VolatileCurrentUser& operator=(const VolatileCurrentUser&) = delete;

  private:
    HKEY root_ = nullptr;
};

// Fills a stretch of stack with nonzero bytes, so that a local buffer of the next call starts out
// dirty instead of happening to be zero.
void DirtyStack();
