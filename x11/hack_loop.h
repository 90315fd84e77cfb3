#pragma once

struct HackOptions;
struct HackWindow;

// Runs the scenes in the window, one tick per delay, until the window is destroyed, its close
// request comes or a stop signal arrives (see stop_signals.h). The root window of a screen with
// several monitors gets a scene on each. Returns the exit code: 0, or 1 after one line on
// stderr when the picture cannot be made at the window's size.
int RunHack(const HackOptions& options, HackWindow* window);
