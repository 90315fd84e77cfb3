#pragma once

// For the native programs' CLI11 command lines only: the portable library itself does not use
// CLI11.
#include <CLI/CLI.hpp>

#include <string>

#include "saver_rules/whole_number.h"

// An option's check and rewrite: a whole decimal number from low to high, handed on as plain
// decimal, since CLI11's own conversion would read a leading 0 as octal. Use with ->transform(),
// which keeps the rewrite (->check() works on a copy).
inline CLI::Validator WholeNumber(int64_t low, int64_t high) {
    return CLI::Validator(
        [low, high](std::string& text) -> std::string {
            int64_t value = 0;
            std::string error;
            if (ReadWholeNumber(text, low, high, &value, &error) != 1) return error;
            text = std::to_string(value);
            return "";
        },
        "[" + std::to_string(low) + " to " + std::to_string(high) + "]", "WholeNumber");
}
