#pragma once

#include <windows.h>

// Loads a library of the system's password provider from the system directory only, never from
// the program's folder or the current folder.
HMODULE LoadSystemLibrary(const char* name);
