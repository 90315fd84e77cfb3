#include "saver_rules/switch_search.h"

#include <cstring>

namespace {

struct SwitchRow {
    const char* text;
    SaverMode mode;
};

// Every Configure form is searched before any Preview form, and so on: the row order decides,
// not where a switch stands in the text.
constexpr SwitchRow SwitchTable[] = {
    {"-c", Configure},
    {"-C", Configure},
    {"/c", Configure},
    {"/C", Configure},
    {"-p", Preview},
    {"-P", Preview},
    {"/p", Preview},
    {"/P", Preview},
    {"-s", Run},
    {"-S", Run},
    {"/s", Run},
    {"/S", Run},
    {"-a", ChangePassword},
    {"-A", ChangePassword},
    {"/a", ChangePassword},
    {"/A", ChangePassword},
};

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Window handles are pointer-sized on 64-bit Windows, so the number is read into intptr_t.
// Digits beyond its range pin the result at the nearest end instead of overflowing.
intptr_t ParseSignedDecimal(const char* text) {
    while (IsCSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    const uintptr_t limit =
        negative ? static_cast<uintptr_t>(INTPTR_MAX) + 1u : static_cast<uintptr_t>(INTPTR_MAX);
    uintptr_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        const uintptr_t digit = static_cast<uintptr_t>(*text - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    if (!negative) return static_cast<intptr_t>(magnitude);
    if (magnitude == limit) return INTPTR_MIN;
    return -static_cast<intptr_t>(magnitude);
}

}  // namespace

int FindSaverSwitch(const char* commandLine, SaverMode* mode, intptr_t* number) {
    for (const SwitchRow& row : SwitchTable) {
        const char* found = std::strstr(commandLine, row.text);
        if (found == nullptr) continue;
        *mode = row.mode;
        *number = ParseSignedDecimal(found + 2);
        return 1;
    }
    return 0;
}
