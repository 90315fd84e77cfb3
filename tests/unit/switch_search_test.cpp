#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "saver_rules/switch_search.h"

namespace {

constexpr SaverMode None = static_cast<SaverMode>(-1);
constexpr intptr_t Kept = -12345;

void ExpectFinds(const std::string& commandLine, SaverMode expectedMode, intptr_t expectedNumber) {
    SaverMode mode = None;
    intptr_t number = Kept;
    const int found = FindSaverSwitch(commandLine.c_str(), &mode, &number);
    EXPECT_TRUE(found == (expectedMode != None) && mode == expectedMode && number == expectedNumber)
        << '"' << commandLine << "\" gives " << found << ", mode " << mode << ", " << number;
}

// The table order decides, not the position in the text; the number follows the first
// occurrence, after C white space and one sign; without a switch both outputs stay as they were.
const struct {
    const char* commandLine;
    SaverMode mode;
    intptr_t number;
} Cases[] = {
    {"/p 1234", Preview, 1234},   {"/p1234", Preview, 1234},     {"/s", Run, 0},
    {"/c:123", Configure, 0},     {"/a 77", ChangePassword, 77}, {"/s /c", Configure, 0},
    {"/S 4 /p 9", Preview, 9},    {"/P 9 -p 7", Preview, 7},     {"/a 1 -s 2", Run, 2},
    {"/p 12 /p 34", Preview, 12}, {"ab-pcd", Preview, 0},        {"C:\\x\\zova.scr/s", Run, 0},
    {"/p +42", Preview, 42},      {"/p -42", Preview, -42},      {"/p - 5", Preview, 0},
    {"/p --5", Preview, 0},       {"/p 1 2", Preview, 1},        {"", None, Kept},
    {"/x", None, Kept},           {"p s c a", None, Kept},       {"\\s", None, Kept},
};

TEST(FindSaverSwitch, ModeAndNumber) {
    for (const auto& c : Cases) ExpectFinds(c.commandLine, c.mode, c.number);
    ExpectFinds("/p \t\n\v\f\r 17x", Preview, 17);
    // Each of the sixteen switches alone, in table order: four forms per mode.
    const std::string all = "-c-C/c/C-p-P/p/P-s-S/s/S-a-A/a/A";
    for (int row = 0; row < 16; ++row) ExpectFinds(all.substr(2 * row, 2), SaverMode(row / 4), 0);
}

TEST(FindSaverSwitch, HandlesArePointerSizedAndSaturate) {
    const std::string max = std::to_string(INTPTR_MAX);
    std::string pastMax = max;
    ++pastMax.back();
    ExpectFinds("/p 4294967297", Preview,
                sizeof(intptr_t) == 8 ? intptr_t(INT64_C(4294967297)) : INTPTR_MAX);
    ExpectFinds("/p " + max, Preview, INTPTR_MAX);
    ExpectFinds("/p " + std::to_string(INTPTR_MIN), Preview, INTPTR_MIN);
    ExpectFinds("/p " + pastMax, Preview, INTPTR_MAX);
    ExpectFinds("/p " + max + "0", Preview, INTPTR_MAX);
    ExpectFinds("/p -" + max + "9", Preview, INTPTR_MIN);
}

}  // namespace
