#pragma once

#include <X11/Xlib.h>

struct HackOptions;

// The display and the window the hack draws on.
struct HackWindow {
    Display* display = nullptr;
    Window window = 0;
    // Made by the hack, so the hack takes it down; windows it was handed stay.
    bool own = false;
    Atom protocols = 0;
    Atom deleteWindow = 0;
    // The whole root window of a screen: its monitors each get a scene.
    bool root = false;
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = 0;
    int width = 0;
    int height = 0;
};

// Opens the display and takes (or makes) the window to draw on, watching it for exposure,
// resizing and destruction; keys and the mouse are left to whoever owns the screen. Returns -1
// to go on, otherwise 2 after one line on stderr for a display or window that is not there.
int OpenHackWindow(const HackOptions& options, HackWindow* hack);

// Frees the hack's own window and colormap (unless gone already) and closes the display.
void CloseHackWindow(HackWindow* hack);

// Whether the server has said that the window is gone: requests already on their way when it
// was destroyed fail, and that is no error of the hack's.
bool HackWindowGone();
void MarkHackWindowGone();

// Errors from the requests between these two calls are recorded, not fatal; the second returns
// the first such error code, or 0. It waits for the server's answers.
void TrapXErrors();
int UntrapXErrors(Display* display);
