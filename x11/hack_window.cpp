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

// The default visual, or a 24- or 32-bit TrueColor one where the default shows fewer colours.
XVisualInfo ChooseVisual(Display* display, int screen) {
    XVisualInfo chosen = {};
    chosen.visual = DefaultVisual(display, screen);
    chosen.depth = DefaultDepth(display, screen);
    if (chosen.visual->c_class == TrueColor && chosen.depth >= 24) return chosen;
    for (int depth : {24, 32}) {
        XVisualInfo found;
        if (XMatchVisualInfo(display, screen, depth, TrueColor, &found)) return found;
    }
    return chosen;
}

Window MakeOwnWindow(Display* display, const HackOptions& options, HackWindow* hack) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const XVisualInfo visual = ChooseVisual(display, screen);
    XSetWindowAttributes set = {};
    unsigned long which = CWBackPixel | CWBorderPixel;
    if (visual.visual != DefaultVisual(display, screen)) {
        hack->colormap = XCreateColormap(display, root, visual.visual, AllocNone);
        set.colormap = hack->colormap;
        which |= CWColormap;
    } else {
        set.background_pixel = BlackPixel(display, screen);
    }
    // Negative offsets count from the right and bottom edges, as X geometry has it.
    int x = options.x, y = options.y;
    if (options.geometry & XNegative) x += DisplayWidth(display, screen) - options.width;
    if (options.geometry & YNegative) y += DisplayHeight(display, screen) - options.height;
    const Window window = XCreateWindow(display, root, x, y, options.width, options.height, 0,
                                        visual.depth, InputOutput, visual.visual, which, &set);
    XSizeHints hints = {};
    hints.flags = (options.geometry & (XValue | YValue)) ? USPosition | USSize : PSize;
    hints.x = x, hints.y = y, hints.width = options.width, hints.height = options.height;
    XSetWMNormalHints(display, window, &hints);
    XStoreName(display, window, "Zova");
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
    // A daemon names the window it made for the hack; a window of its own would cover it.
    const char* handed = std::getenv("XSCREENSAVER_WINDOW");
    const bool useHanded = handed != nullptr && *handed != '\0' &&
                           options.target != DrawTarget::GivenWindow && !options.ownWindowAsked;
    if (options.target == DrawTarget::GivenWindow) {
        window = options.windowId;
        what = "window " + Hex(window);
    } else if (useHanded) {
        unsigned long id = 0;
        if (!ParseWindowId(handed, &id))
            return Fail(2, std::string("XSCREENSAVER_WINDOW '") + handed + "' is not a window id");
        window = id;
        what = "window " + Hex(window) + " (XSCREENSAVER_WINDOW)";
    } else if (options.target == DrawTarget::Root) {
        window = DefaultRootWindow(display);
        what = "the root window";
    } else {
        window = MakeOwnWindow(display, options, hack);
        what = "the new window";
    }

    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || HackWindowGone())
        return Fail(2, "no " + what + " on display " + DisplayString(display));
    hack->window = window;
    hack->root = attributes.root == window;
    hack->visual = attributes.visual;
    hack->depth = attributes.depth;
    hack->colormap = attributes.colormap;
    hack->width = attributes.width;
    hack->height = attributes.height;
    XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    if (hack->own) XMapWindow(display, window);
    return -1;
}

void CloseHackWindow(HackWindow* hack) {
    if (hack->display == nullptr) return;
    if (hack->own && !windowGone) XDestroyWindow(hack->display, hack->window);
    if (hack->own && hack->colormap != DefaultColormap(hack->display, DefaultScreen(hack->display)))
        XFreeColormap(hack->display, hack->colormap);
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
