#pragma once

#include <cstdint>
#include <string>

#include "scene/tunables.h"

// Where the hack draws.
enum class DrawTarget {
    OwnWindow,    // a new top-level window
    Root,         // the root window, or the window named by $XSCREENSAVER_WINDOW
    GivenWindow,  // --window-id
};

// What zova-x11 is asked to do.
struct HackOptions {
    DrawTarget target = DrawTarget::OwnWindow;
    // Size of the hack's own window.
    int32_t width = 1024;
    int32_t height = 768;
    unsigned long windowId = 0;
    std::string display;  // empty: $DISPLAY
    uint32_t count = DefaultBallCount;
    int64_t delayMicroseconds = FrameIntervalMs * 1000;
    bool showFps = false;
    bool sharedMemory = true;
    bool seedGiven = false;
    uint32_t seed = 0;
};

// Reads the command line. Long options take one dash or two, as screen savers pass them.
// Returns -1 to go on, otherwise the exit code: 0 after --help (printed to stdout), 2 after one
// line on stderr saying what is wrong.
int ParseHackOptions(int argc, char** argv, HackOptions* options);

// A window id as X tools print them: decimal or 0x hex, never 0. 1 on success.
int ParseWindowId(const std::string& text, unsigned long* id);
