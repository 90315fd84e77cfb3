#pragma once

#include <windows.h>

#include <cstdint>

// Turns the command line (the text after the program name) into a SaverMode and the window
// named behind the switch: no number, or 0, names the foreground window. An empty line means
// the setup dialog with no parent. Returns 0 when a mode was chosen, 1 when no switch was found;
// *parent is null unless a window was named or found.
int ParseSaverCommandLine(const char* commandLine, HWND* parent, int16_t* mode);
