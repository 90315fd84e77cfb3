#include "shell/system_library.h"

#include <cstring>

namespace {

// A bare file name cannot lead the load out of the system directory.
bool IsBareFileName(const char* name) {
    return name != nullptr && name[0] != '\0' && std::strpbrk(name, "\\/:") == nullptr;
}

}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
    if (!IsBareFileName(name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // A plain search would try the program's folder and the current folder first, where a
    // planted copy could decide whether a password is accepted.
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Windows without the search flags (before KB2533623) rejects it; never fall back to a
        // search.
        module = LoadLibraryFromSystemDirectory(name);
    }
    return module;
}

HMODULE LoadLibraryFromSystemDirectory(const char* name) {
    if (!IsBareFileName(name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    size_t nameLength = std::strlen(name);
    if (length == 0 || length >= MAX_PATH || length + 1 + nameLength >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    if (path[length - 1] != '\\') path[length++] = '\\';
    std::memcpy(path + length, name, nameLength + 1);
    // Its own dependencies are then looked for beside it, in the system directory, too.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
