#pragma once

#include <cstdint>

// The saver's roles, as the command line chooses them.
enum SaverMode : int16_t { Configure = 0, Preview = 1, Run = 2, ChangePassword = 3 };

// Searches the command line for the sixteen switches ("-c", "-C", "/c", "/C", then the same for
// p, s and a) in that order; the first switch that occurs anywhere wins. On a find, stores its
// mode and the signed decimal number right behind it (white space skipped, optional sign, 0
// without digits, saturated at the range of a pointer) and returns 1; otherwise returns 0 and
// leaves both untouched.
int FindSaverSwitch(const char* commandLine, SaverMode* mode, intptr_t* number);
