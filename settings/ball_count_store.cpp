#include "settings/ball_count_store.h"

#include <windows.h>

namespace {

// Opens the settings key with full access, creating it (and its missing parents) when absent, so
// that even a first read leaves the key behind.
bool OpenSettingsKey(HKEY* key) {
    char emptyClass[] = "";
    DWORD disposition = 0;
    return RegCreateKeyExA(HKEY_CURRENT_USER, ZOVA_SETTINGS_KEY, 0, emptyClass,
                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key,
                           &disposition) == ERROR_SUCCESS;
}

}  // namespace

int ReadBallCount(uint32_t* count) {
    *count = DefaultBallCount;
    HKEY key = nullptr;
    if (!OpenSettingsKey(&key)) return 0;
    // Zeroed first: a value shorter than 4 bytes fills only the low-order bytes.
    uint32_t stored = 0;
    DWORD size = sizeof stored;
    if (RegQueryValueExA(key, ZOVA_COUNT_VALUE, nullptr, nullptr, reinterpret_cast<BYTE*>(&stored),
                         &size) == ERROR_SUCCESS) {
        *count = stored;
    }
    RegCloseKey(key);
    return 1;
}

int WriteBallCount(uint32_t count) {
    HKEY key = nullptr;
    if (!OpenSettingsKey(&key)) return 0;
    DWORD value = count;
    RegSetValueExA(key, ZOVA_COUNT_VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
    return 1;
}
