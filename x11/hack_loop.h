#pragma once

struct HackOptions;
struct HackWindow;

// From here on SIGTERM and SIGINT end the hack with status 0. Call it first thing, so that a
// signal sent while the hack starts still ends it that way.
void CatchStopSignals();

// Runs the scene in the window, one tick per delay, until the window is destroyed, its close
// request comes or a stop signal arrives. Returns the exit code: 0, or 1 after one line on
// stderr when the picture cannot be made at the window's size.
int RunHack(const HackOptions& options, HackWindow* window);
