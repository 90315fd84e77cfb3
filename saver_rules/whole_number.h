#pragma once

#include <cstdint>
#include <string>

// Reads a whole number as a user writes it on a command line: decimal digits with an optional
// leading '-', nothing else. Leading zeros do not make it octal ("010" is ten, "08" is eight).
// Returns 1 and sets *value when the number lies in [low, high]; otherwise returns 0, leaves
// *value alone and sets *error to "'TEXT' is not a whole number from LOW to HIGH".
int ReadWholeNumber(const std::string& text, int64_t low, int64_t high, int64_t* value,
                    std::string* error);
