#pragma once

#include <cstdint>
#include <string>

#include "scene/tunables.h"

// Where the hack draws.
enum class DrawTarget {
    OwnWindow,    // a new top-level window, unless $XSCREENSAVER_WINDOW names one
    Root,         // the root window, or the window named by $XSCREENSAVER_WINDOW
    GivenWindow,  // --window-id, whatever else is asked
};

// The shortest frame interval: past a thousand frames a second the balls only blur, and the hack
// and the X server would take whole cores for it.
constexpr int64_t MinDelayMicroseconds = 1000;

// What zova-x11 is asked to do.
struct HackOptions {
    DrawTarget target = DrawTarget::OwnWindow;
    // --window: a window of its own even where a daemon has named one.
    bool ownWindowAsked = false;
    // The hack's own window: --geometry as XParseGeometry reads it (its XValue, XNegative...
    // bits in `geometry`; the size is the default where none is given).
    int32_t width = 1024;
    int32_t height = 768;
    int geometry = 0;
    int32_t x = 0;
    int32_t y = 0;
    unsigned long windowId = 0;
    std::string display;  // empty: $DISPLAY
    uint32_t count = DefaultBallCount;
    int64_t delayMicroseconds = FrameIntervalMs * 1000;  // at least MinDelayMicroseconds
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
