#include "x11/hack_window.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "x11/hack_options.h"

namespace {

bool windowGone = false;
bool trapping = false;
int trappedError = 0;

int OnXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) {
        windowGone = true;
        return 0;
    }
    if (trapping) {
        if (trappedError == 0) trappedError = error->error_code;
        return 0;
    }
    char text[160];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "zova-x11: X error: %s (request %d)\n", text, error->request_code);
    std::exit(1);
}

int OnConnectionLost(Display*) {
    std::fputs("zova-x11: lost the connection to the X server\n", stderr);
    std::exit(1);
}

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "zova-x11: %s\n", message.c_str());
    return status;
}

std::string Hex(unsigned long id) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

Window MakeOwnWindow(Display* display, const HackOptions& options, HackWindow* hack) {
    const int screen = DefaultScreen(display);
    const unsigned long black = BlackPixel(display, screen);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                              options.width, options.height, 0, black, black);
    XStoreName(display, window, "zova");
    XClassHint hint = {const_cast<char*>("zova-x11"), const_cast<char*>("Zova")};
    XSetClassHint(display, window, &hint);
    hack->protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    hack->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &hack->deleteWindow, 1);
    hack->own = true;
    return window;
}

}  // namespace

int OpenHackWindow(const HackOptions& options, HackWindow* hack) {
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnConnectionLost);
    const char* name = options.display.empty() ? nullptr : options.display.c_str();
    Display* display = XOpenDisplay(name);
    if (display == nullptr)
        return Fail(2, std::string("cannot open display '") + XDisplayName(name) + "'");
    hack->display = display;

    Window window = 0;
    std::string what;
    if (options.target == DrawTarget::GivenWindow) {
        window = options.windowId;
        what = "window " + Hex(window);
    } else if (options.target == DrawTarget::Root) {
        const char* handed = std::getenv("XSCREENSAVER_WINDOW");
        unsigned long id = 0;
        if (handed != nullptr && *handed != '\0') {
            if (!ParseWindowId(handed, &id))
                return Fail(2,
                            std::string("XSCREENSAVER_WINDOW '") + handed + "' is not a window id");
            window = id;
            what = "window " + Hex(window) + " (XSCREENSAVER_WINDOW)";
        } else {
            window = DefaultRootWindow(display);
            what = "the root window";
        }
    } else {
        window = MakeOwnWindow(display, options, hack);
        what = "the new window";
    }

    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || HackWindowGone())
        return Fail(2, "no " + what + " on display " + DisplayString(display));
    if (attributes.visual->c_class != TrueColor ||
        (attributes.depth != 24 && attributes.depth != 32))
        return Fail(1, "cannot draw on " + what + ": its visual is not 24- or 32-bit TrueColor");
    hack->window = window;
    hack->visual = attributes.visual;
    hack->depth = attributes.depth;
    hack->width = attributes.width;
    hack->height = attributes.height;
    XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    if (hack->own) XMapWindow(display, window);
    return -1;
}

void CloseHackWindow(HackWindow* hack) {
    if (hack->display == nullptr) return;
    if (hack->own && !windowGone) XDestroyWindow(hack->display, hack->window);
    XCloseDisplay(hack->display);
    hack->display = nullptr;
}

bool HackWindowGone() { return windowGone; }
void MarkHackWindowGone() { windowGone = true; }

void TrapXErrors() {
    trapping = true;
    trappedError = 0;
}

int UntrapXErrors(Display* display) {
    XSync(display, False);
    trapping = false;
    return trappedError;
}
