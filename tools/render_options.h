#pragma once

#include <cstdint>
#include <string>

// What zova-render is asked to do.
struct RenderOptions {
    int32_t width = 640;
    int32_t height = 480;
    uint32_t balls = 20;
    uint32_t seed = 1;
    int64_t ticks = 100;
    int64_t every = 1;
    std::string outDir;     // numbered frames go here; empty: none
    std::string sheetFile;  // contact sheet of the written frames; empty: none
    int32_t sheetColumns = 2;
};

enum class ParseResult { Run, Help, Error };

// Reads "--name value" and "--name=value" options. On Error, *error holds one line saying what
// is wrong (without the program name).
ParseResult ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options,
                               std::string* error);

const char* RenderUsage();
