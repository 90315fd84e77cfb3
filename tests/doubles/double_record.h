/* Registry bookkeeping shared by the password-provider doubles. */
#ifndef ZOVA_DOUBLE_RECORD_H
#define ZOVA_DOUBLE_RECORD_H

#include <windows.h>

/* The arrangement key, created when missing; null when it cannot be opened. */
HKEY OpenDoubleKey(void);
DWORD ReadDoubleDword(HKEY key, const char* name);
void IncrementDoubleDword(HKEY key, const char* name);
void WriteDoubleDword(HKEY key, const char* name, DWORD value);
void WriteDoubleQword(HKEY key, const char* name, ULONGLONG value);
void WriteDoubleString(HKEY key, const char* name, const char* value);
/* Stores the path of the module that holds address. */
void WriteDoubleModulePath(HKEY key, const char* name, const void* address);
/* The stand-in for the system's dialog: a modal box without owner, so that the caller's windows
 * keep getting input while it waits. */
void ShowDoubleDialog(const wchar_t* text);

#endif
