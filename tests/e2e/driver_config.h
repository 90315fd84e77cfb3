#pragma once

#include <string>

// What the driver is told on its command line.
struct DriverConfig {
    std::string saverPath;  // zova.scr, as a Windows path
};

DriverConfig& Config();

// Takes the driver's own arguments (--saver=PATH) out of argv. Unix paths become
// the Z: paths Wine maps them to. False with a message on stderr when the saver is not named.
bool ParseDriverArguments(int* argc, char** argv);

std::string ToWindowsPath(const std::string& path);

// The folder part of a Windows path, without the trailing backslash.
std::string FolderOf(const std::string& path);
