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

// Reads the command line. Returns -1 to go on, otherwise the exit code: 0 after --help or
// --version (printed to stdout), 2 after one line on stderr saying what is wrong.
int ParseRenderOptions(int argc, char** argv, RenderOptions* options);
