#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "saver_rules/whole_number.h"

namespace {

TEST(ReadWholeNumber, DecimalDigitsWithinTheRangeOnly) {
    // Leading zeros stay decimal; the range is inclusive, also at the ends of 64 bits.
    const struct {
        const char* text;
        int64_t low, high, value;
    } numbers[] = {
        {"010", 1, 16384, 10}, {"08", 0, 30, 8},
        {"030", 0, 30, 30},    {"-0", 0, 30, 0},
        {"-5", -9, 9, -5},     {"-9223372036854775808", INT64_MIN, INT64_MAX, INT64_MIN}};
    for (const auto& c : numbers) {
        int64_t value = 0;
        std::string error;
        EXPECT_EQ(ReadWholeNumber(c.text, c.low, c.high, &value, &error), 1) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    // Past either end (also past 64 bits), signs but a leading minus, spaces, other bases.
    for (const char* text : {"031", "-1", "99999999999999999999", "", "-", "+5", " 5", "5 ", "0x10",
                             "1e1", "--5", "abc"}) {
        int64_t value = 7;
        std::string error;
        EXPECT_EQ(ReadWholeNumber(text, 0, 30, &value, &error), 0) << text;
        EXPECT_EQ(value, 7);
        EXPECT_EQ(error, "'" + std::string(text) + "' is not a whole number from 0 to 30");
    }
}

}  // namespace
