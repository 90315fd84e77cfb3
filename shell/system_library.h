#pragma once

#include <windows.h>

// Loads a library of the system's password provider from the system directory only, never from
// the program's folder or the current folder.
HMODULE LoadSystemLibrary(const char* name);

// The same by absolute path under GetSystemDirectoryA, for systems whose loader does not know
// LOAD_LIBRARY_SEARCH_SYSTEM32. Null for a name that is not a bare file name.
HMODULE LoadLibraryFromSystemDirectory(const char* name);
