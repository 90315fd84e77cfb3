#pragma once

#include <cstdint>

#include "scene/tunables.h"

// Registry home of the ball count, under HKEY_CURRENT_USER.
#define ZOVA_SETTINGS_KEY "Software\\Nurvo\\SCREEN SAVER\\ZOVA"
#define ZOVA_COUNT_VALUE "COUNT"

// Stores the stored count (20 when absent or unreadable) in *count. Returns 1 when the key
// could be opened, 0 otherwise.
int ReadBallCount(uint32_t* count);
// Stores the count as a REG_DWORD. Returns 1 when the key could be opened, 0 otherwise.
int WriteBallCount(uint32_t count);
