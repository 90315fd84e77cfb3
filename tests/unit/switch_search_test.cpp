#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/switch_search.h"

namespace {

constexpr bool Pointer64 = sizeof(intptr_t) == 8;

struct SwitchCase {
    const char* commandLine;
    SaverMode mode;
    intptr_t number;
};

void PrintTo(const SwitchCase& c, std::ostream* os) { *os << '"' << c.commandLine << '"'; }

class FindSaverSwitchFinds : public testing::TestWithParam<SwitchCase> {};

TEST_P(FindSaverSwitchFinds, ModeAndNumber) {
    const SwitchCase& c = GetParam();
    SaverMode mode = static_cast<SaverMode>(-1);
    intptr_t number = -12345;
    ASSERT_EQ(FindSaverSwitch(c.commandLine, &mode, &number), 1);
    EXPECT_EQ(mode, c.mode);
    EXPECT_EQ(number, c.number);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, FindSaverSwitchFinds,
    testing::Values(
        // The forms the system uses.
        SwitchCase{"/p 1234", SaverMode::Preview, 1234}, SwitchCase{"/s", SaverMode::Run, 0},
        SwitchCase{"/c", SaverMode::Configure, 0},
        SwitchCase{"/a 77", SaverMode::ChangePassword, 77},
        SwitchCase{"/c:123", SaverMode::Configure, 0},
        SwitchCase{"/p1234", SaverMode::Preview, 1234},
        // Both letter cases and both switch characters are in the table.
        SwitchCase{"-S", SaverMode::Run, 0}, SwitchCase{"/P 5", SaverMode::Preview, 5},
        SwitchCase{"-A", SaverMode::ChangePassword, 0}, SwitchCase{"-C 8", SaverMode::Configure, 8},
        // The table order decides, not the position in the text.
        SwitchCase{"/s /c", SaverMode::Configure, 0},
        SwitchCase{"/S 4 /p 9", SaverMode::Preview, 9},
        SwitchCase{"/P 9 -p 7", SaverMode::Preview, 7}, SwitchCase{"/a 1 -s 2", SaverMode::Run, 2},
        // The first occurrence of the winning switch gives the number.
        SwitchCase{"/p 12 /p 34", SaverMode::Preview, 12},
        // Found inside longer words too; letters behind it are no number.
        SwitchCase{"ab-pcd", SaverMode::Preview, 0},
        SwitchCase{"C:\\x\\zova.scr/s", SaverMode::Run, 0},
        // Number syntax: C white space, one optional sign, digits up to the first other one.
        SwitchCase{"/p \t\n\v\f\r 17x", SaverMode::Preview, 17},
        SwitchCase{"/p +42", SaverMode::Preview, 42}, SwitchCase{"/p -42", SaverMode::Preview, -42},
        SwitchCase{"/p - 5", SaverMode::Preview, 0}, SwitchCase{"/p --5", SaverMode::Preview, 0},
        SwitchCase{"/p 0012", SaverMode::Preview, 12},
        SwitchCase{"/p 1 2", SaverMode::Preview, 1}));

TEST(FindSaverSwitch, NoSwitchLeavesOutputsAlone) {
    for (const char* commandLine : {"", "/x", "p s c a", "\\s", "-", "/"}) {
        SaverMode mode = SaverMode::Run;
        intptr_t number = 99;
        EXPECT_EQ(FindSaverSwitch(commandLine, &mode, &number), 0) << commandLine;
        EXPECT_EQ(mode, SaverMode::Run) << commandLine;
        EXPECT_EQ(number, 99) << commandLine;
    }
}

intptr_t NumberAfterPreview(const std::string& digits) {
    SaverMode mode = SaverMode::Configure;
    intptr_t number = 0;
    EXPECT_EQ(FindSaverSwitch(("/p " + digits).c_str(), &mode, &number), 1);
    EXPECT_EQ(mode, SaverMode::Preview);
    return number;
}

TEST(FindSaverSwitch, HandleAbove32BitsKeepsAllItsBits) {
    // 2^32 + 1: a 64-bit window handle must not lose its upper half.
    const intptr_t expected = Pointer64 ? static_cast<intptr_t>(INT64_C(4294967297)) : INTPTR_MAX;
    EXPECT_EQ(NumberAfterPreview("4294967297"), expected);
}

TEST(FindSaverSwitch, RangeEndsAreExact) {
    const std::string max = std::to_string(INTPTR_MAX);
    const std::string min = std::to_string(INTPTR_MIN);
    EXPECT_EQ(NumberAfterPreview(max), INTPTR_MAX);
    EXPECT_EQ(NumberAfterPreview(min), INTPTR_MIN);
    EXPECT_EQ(NumberAfterPreview("-" + max), -INTPTR_MAX);
}

TEST(FindSaverSwitch, OverflowSaturates) {
    const std::string max = std::to_string(INTPTR_MAX);
    // One past the largest value, and far past it.
    std::string pastMax = max;
    pastMax.back() = static_cast<char>(pastMax.back() + 1);
    EXPECT_EQ(NumberAfterPreview(pastMax), INTPTR_MAX);
    EXPECT_EQ(NumberAfterPreview(max + "0"), INTPTR_MAX);
    EXPECT_EQ(NumberAfterPreview("99999999999999999999999999999999"), INTPTR_MAX);
    EXPECT_EQ(NumberAfterPreview("-99999999999999999999999999999999"), INTPTR_MIN);
    EXPECT_EQ(NumberAfterPreview("-" + max + "9"), INTPTR_MIN);
}

}  // namespace
