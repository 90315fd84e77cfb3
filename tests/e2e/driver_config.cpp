#include "tests/e2e/driver_config.h"

#include <cstdio>
#include <cstring>

DriverConfig& Config() {
    static DriverConfig config;
    return config;
}

std::string ToWindowsPath(const std::string& path) {
    std::string result = path;
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    // Wine shows the Unix root as drive Z:.
    if (!path.empty() && path[0] == '/') result = "Z:" + result;
    return result;
}

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

static bool TakeOption(const char* argument, const char* prefix, std::string* value) {
    const size_t length = std::strlen(prefix);
    if (std::strncmp(argument, prefix, length) != 0) return false;
    *value = ToWindowsPath(argument + length);
    return true;
}

bool ParseDriverArguments(int* argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        if (TakeOption(argv[i], "--saver=", &Config().saverPath)) continue;
        argv[kept++] = argv[i];
    }
    *argc = kept;
    argv[kept] = nullptr;
    if (Config().saverPath.empty()) {
        std::fprintf(stderr, "usage: e2e_driver --saver=PATH [gtest options]\n");
        return false;
    }
    return true;
}
