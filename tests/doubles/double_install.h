#pragma once

// Puts the password-provider doubles where a program under test looks for its provider, and takes
// them away again. Compiled into the Windows-side tests and the end-to-end driver; run it in a
// process of the same bitness as the program under test, since the system directory is that
// process's (system32 in a 32-bit prefix, syswow64 for a 32-bit program in a 64-bit one).
//
// PASSWORD.CPL: Wine has none. InstallDouble(Password) copies the double into the system
// directory, where the saver's loader (system directory only) finds it.
//
// MPR.DLL: Wine ships a builtin mpr.dll that wins over a file of that name unless the program has
// a DLL override. The end-to-end driver, before it starts the saver:
//   InstallDouble(ProviderDouble::Mpr);
//   SetDllOverride("zova.scr", "mpr", "native");   // "" instead makes every load of mpr fail
// and afterwards RemoveDllOverride("zova.scr", "mpr") and RemoveDouble(ProviderDouble::Mpr).
// The override lives in HKCU\Software\Wine\AppDefaults\<program file name>\DllOverrides; Wine
// reads that key when the program starts, so set it before CreateProcess (WINEDLLOVERRIDES set in
// the driver does not reach a child).
//
// The doubles answer and record through the registry values named in double_protocol.h;
// ClearDoubleRecords wipes them between tests.

#include <string>

enum class ProviderDouble { Password, Mpr };

// "PASSWORD.CPL" or "MPR.DLL".
const char* DoubleFileName(ProviderDouble which);
// The built double in the build tree, as a Windows path.
std::string DoubleBuildPath(ProviderDouble which);
// Wine shows the host's root as drive Z:.
std::string WinePathFromUnix(const std::string& unixPath);
// fileName inside this process's system directory.
std::string SystemDirectoryFile(const char* fileName);

// Copies the double into the system directory; a file of that name already there is kept aside
// and put back by RemoveDouble. True when the double is in place.
bool InstallDouble(ProviderDouble which);
// True when no double is left in the system directory.
bool RemoveDouble(ProviderDouble which);

bool SetDllOverride(const char* programFileName, const char* dllName, const char* value);
bool RemoveDllOverride(const char* programFileName, const char* dllName);

// Deletes every arrangement and record of the doubles.
void ClearDoubleRecords();
