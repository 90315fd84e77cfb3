#include "dll_support.h"

#include <algorithm>
#include <cctype>

#include "double_protocol.h"
#include "registry_support.h"

namespace {

Bytes DoubleValue(const char* name) {
    StoredValue stored = ReadStoredValue(ZOVA_DOUBLE_KEY, name);
    return stored.present ? stored.data : Bytes();
}

std::string CurrentFolder() {
    char path[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, path);
    return std::string(path, length < MAX_PATH ? length : 0);
}

}  // namespace

void ArrangeVerifier(uint32_t answer, bool showDialog) {
    SetRawValue(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_ANSWER, REG_DWORD, DwordBytes(answer));
    SetRawValue(ZOVA_DOUBLE_KEY, ZOVA_VERIFY_SHOW_DIALOG, REG_DWORD, DwordBytes(showDialog));
}

uint32_t DoubleDword(const char* name) {
    Bytes bytes = DoubleValue(name);
    uint32_t value = 0;
    if (bytes.size() == sizeof value) std::copy(bytes.begin(), bytes.end(), (BYTE*)&value);
    return value;
}

uint64_t DoubleQword(const char* name) {
    Bytes bytes = DoubleValue(name);
    uint64_t value = 0;
    if (bytes.size() == sizeof value) std::copy(bytes.begin(), bytes.end(), (BYTE*)&value);
    return value;
}

std::string DoubleString(const char* name) {
    Bytes bytes = DoubleValue(name);
    std::string text(bytes.begin(), bytes.end());
    return text.substr(0, text.find('\0'));
}

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

PlantedFile::PlantedFile(const std::string& source, const std::string& target)
    : target_(target), planted_(CopyFileA(source.c_str(), target.c_str(), FALSE) != 0) {}

PlantedFile::~PlantedFile() {
    if (planted_) DeleteFileA(target_.c_str());
}

ScopedCurrentFolder::ScopedCurrentFolder() : previous_(CurrentFolder()) {
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp, length < MAX_PATH ? length : 0) + "zova-current-folder\\";
    CreateDirectoryA(path_.c_str(), nullptr);
    SetCurrentDirectoryA(path_.c_str());
}

ScopedCurrentFolder::~ScopedCurrentFolder() {
    SetCurrentDirectoryA(previous_.c_str());
    RemoveDirectoryA(path_.c_str());
}
