// zova-x11: the saver's balls as a screen hack for X11 desktops.

#include "x11/hack_loop.h"
#include "x11/hack_options.h"
#include "x11/hack_window.h"
#include "x11/stop_signals.h"

int main(int argc, char** argv) {
    HackOptions options;
    const int parsed = ParseHackOptions(argc, argv, &options);
    if (parsed >= 0) return parsed;
    CatchStopSignals();
    HackWindow window;
    int status = OpenHackWindow(options, &window);
    if (status < 0) status = RunHack(options, &window);
    CloseHackWindow(&window);
    EndByStopSignal();
    return status;
}
