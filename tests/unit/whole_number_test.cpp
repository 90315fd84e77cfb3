#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "saver_rules/whole_number.h"

namespace {

TEST(ReadWholeNumber, DecimalDigitsWithinTheRangeOnly) {
    // Leading zeros stay decimal; the range is inclusive; signs other than a leading minus,
    // spaces, other bases and numbers past 64 bits are refused.
    constexpr int64_t Low = INT64_MIN, High = INT64_MAX;
    constexpr int No = -7;  // value untouched
    const struct {
        const char* text;
        int64_t low, high;
        int64_t value;
    } cases[] = {
        {"010", 1, 16384, 10},
        {"08", 1, 16384, 8},
        {"08", 0, 30, 8},
        {"030", 0, 30, 30},
        {"031", 0, 30, No},
        {"0", 0, 30, 0},
        {"-0", 0, 30, 0},
        {"-1", 0, 30, No},
        {"-5", -9, 9, -5},
        {"0", 1, 30, No},
        {"4294967295", 0, 4294967295, 4294967295},
        {"4294967296", 0, 4294967295, No},
        {"-9223372036854775808", Low, High, Low},
        {"9223372036854775808", Low, High, No},
        {"99999999999999999999", 0, 30, No},
        {"", 0, 30, No},
        {"-", 0, 30, No},
        {"+5", 0, 30, No},
        {" 5", 0, 30, No},
        {"5 ", 0, 30, No},
        {"0x10", 0, 30, No},
        {"1e1", 0, 30, No},
        {"2.0", 0, 30, No},
        {"--5", -9, 9, No},
        {"abc", 0, 30, No},
    };
    for (const auto& c : cases) {
        int64_t value = No;
        std::string error;
        const int read = ReadWholeNumber(c.text, c.low, c.high, &value, &error);
        EXPECT_EQ(read, c.value != No) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(error, read ? ""
                              : "'" + std::string(c.text) + "' is not a whole number from " +
                                    std::to_string(c.low) + " to " + std::to_string(c.high));
    }
}

}  // namespace
