#include "saver_rules/whole_number.h"

#include <cerrno>
#include <cstdlib>

int ReadWholeNumber(const std::string& text, int64_t low, int64_t high, int64_t* value,
                    std::string* error) {
    const size_t sign = !text.empty() && text[0] == '-';
    // strtoll alone would take spaces and a '+'.
    bool valid = text.size() > sign && text.find_first_not_of("0123456789", sign) == text.npos;
    if (valid) {
        errno = 0;
        const long long number = std::strtoll(text.c_str(), nullptr, 10);
        valid = errno == 0 && number >= low && number <= high;
        if (valid) *value = number;
    }
    if (!valid) {
        *error = "'" + text + "' is not a whole number from " + std::to_string(low) + " to " +
                 std::to_string(high);
    }
    return valid ? 1 : 0;
}
