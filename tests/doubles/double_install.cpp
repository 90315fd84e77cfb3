#include "double_install.h"

#include <windows.h>

#include "double_protocol.h"

namespace {

std::string SavedCopyOf(const std::string& path) { return path + ".zova-saved"; }

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string OverrideKeyOf(const char* programFileName) {
    return std::string("Software\\Wine\\AppDefaults\\") + programFileName + "\\DllOverrides";
}

}  // namespace

const char* DoubleFileName(ProviderDouble which) {
    return which == ProviderDouble::Password ? "PASSWORD.CPL" : "MPR.DLL";
}

std::string DoubleBuildPath(ProviderDouble which) {
    return WinePathFromUnix(which == ProviderDouble::Password ? ZOVA_PASSWORD_DOUBLE_FILE
                                                              : ZOVA_MPR_DOUBLE_FILE);
}

std::string WinePathFromUnix(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string SystemDirectoryFile(const char* fileName) {
    char directory[MAX_PATH];
    UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    std::string path(directory, length);
    if (path.back() != '\\') path += '\\';
    return path + fileName;
}

bool InstallDouble(ProviderDouble which) {
    std::string target = SystemDirectoryFile(DoubleFileName(which));
    if (target.empty()) return false;
    std::string saved = SavedCopyOf(target);
    if (FileExists(target) && !FileExists(saved) && !MoveFileA(target.c_str(), saved.c_str())) {
        return false;
    }
    return CopyFileA(DoubleBuildPath(which).c_str(), target.c_str(), FALSE) != 0;
}

bool RemoveDouble(ProviderDouble which) {
    std::string target = SystemDirectoryFile(DoubleFileName(which));
    if (target.empty()) return false;
    if (FileExists(target) && !DeleteFileA(target.c_str())) return false;
    std::string saved = SavedCopyOf(target);
    if (FileExists(saved)) MoveFileA(saved.c_str(), target.c_str());
    return true;
}

bool SetDllOverride(const char* programFileName, const char* dllName, const char* value) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, OverrideKeyOf(programFileName).c_str(), dllName,
                           REG_SZ, value, static_cast<DWORD>(lstrlenA(value) + 1)) == ERROR_SUCCESS;
}

bool RemoveDllOverride(const char* programFileName, const char* dllName) {
    LONG result =
        RegDeleteKeyValueA(HKEY_CURRENT_USER, OverrideKeyOf(programFileName).c_str(), dllName);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

void ClearDoubleRecords() { RegDeleteTreeA(HKEY_CURRENT_USER, ZOVA_DOUBLE_KEY); }
