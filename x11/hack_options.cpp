#include "x11/hack_options.h"

#include <CLI/CLI.hpp>
// After CLI11: Xlib's macros (None, Status) would clash with its names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "saver_rules/whole_number_option.h"

namespace {

// [=][WxH][{+-}X{+-}Y] as X programs take it; each side 1 to 16384.
bool ParseGeometry(const std::string& text, HackOptions* o) {
    int x = 0, y = 0;
    unsigned w = 0, h = 0;
    const int given = XParseGeometry(text.c_str(), &x, &y, &w, &h);
    if (given == NoValue) return false;
    if ((given & WidthValue) && (w < 1 || w > 16384)) return false;
    if ((given & HeightValue) && (h < 1 || h > 16384)) return false;
    if (given & WidthValue) o->width = static_cast<int32_t>(w);
    if (given & HeightValue) o->height = static_cast<int32_t>(h);
    o->geometry = given;
    o->x = x;
    o->y = y;
    return true;
}

}  // namespace

int ParseWindowId(const std::string& text, unsigned long* id) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return 0;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (*end != '\0' || errno != 0 || value == 0 || value > 0xFFFFFFFFull) return 0;
    *id = static_cast<unsigned long>(value);
    return 1;
}

int ParseHackOptions(int argc, char** argv, HackOptions* o) {
    CLI::App app{
        "Red-and-white striped balls roll on black: the zova screen saver as an X11 "
        "screen hack.",
        "zova-x11"};
    app.set_version_flag("--version", "zova-x11 " ZOVA_VERSION);
    // As X programs take their options: the last of a repeated one counts.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.footer(
        "Long options take one dash or two (-root, --root). --window-id wins over --root. "
        "Without either, the balls roll in the window $XSCREENSAVER_WINDOW names, or else in a "
        "window of their own.\n");
    auto* window = app.add_flag("--window", "draw in a new top-level window (the default)");
    auto* root = app.add_flag(
        "--root", "draw on the root window, or on the window $XSCREENSAVER_WINDOW names");
    auto* given = app.add_option("--window-id", "draw on the window ID (decimal or 0x hex)")
                      ->type_name("ID")
                      ->check(CLI::Validator(
                          [o](std::string& text) -> std::string {
                              return ParseWindowId(text, &o->windowId)
                                         ? ""
                                         : "'" + text + "' is not a window id";
                          },
                          "", "WindowId"));
    app.add_option("--geometry", "size and place of the hack's own window (1024x768)")
        ->type_name("WxH+X+Y")
        ->check(CLI::Validator(
            [o](std::string& text) -> std::string {
                return ParseGeometry(text, o) ? ""
                                              : "'" + text +
                                                    "' is not an X geometry WxH+X+Y with sides "
                                                    "from 1 to 16384";
            },
            "", "Geometry"));
    app.add_option("--display", o->display, "X display to use (default $DISPLAY)")
        ->type_name("NAME");
    app.add_option("--count", o->count, "number of balls")
        ->transform(WholeNumber(0, MaxBalls))
        ->capture_default_str();
    app.add_option("--delay", o->delayMicroseconds,
                   "microseconds from one frame to the next (at least 1000)")
        ->transform(WholeNumber(0, 1000000))
        ->capture_default_str();
    app.add_flag("--fps", o->showFps,
                 "show the frames per second and the share of a core used, in a corner");
    auto* noShm =
        app.add_flag("--no-shm", "send frames with XPutImage, not through MIT shared memory");
    auto* seed =
        app.add_option("--seed", o->seed, "start the scene from this seed (default: clock)")
            ->transform(WholeNumber(0, 0xFFFFFFFFll));

    // CLI11 takes long names after two dashes only; xscreensaver passes them after one.
    std::vector<std::string> args;
    for (int i = argc - 1; i >= 1; --i) {
        std::string arg = argv[i];
        if (arg.size() > 2 && arg[0] == '-' && std::isalpha(static_cast<unsigned char>(arg[1])))
            arg.insert(0, "-");
        args.push_back(arg);
    }
    try {
        app.parse(args);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& version) {
        std::printf("%s\n", version.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "zova-x11: %s\n", e.what());
        return 2;
    }
    // Daemons' settings dialogs append --window-id to whatever the programs line says: the
    // window they give wins.
    o->ownWindowAsked = window->count() > 0;
    if (root->count() > 0) o->target = DrawTarget::Root;
    if (given->count() > 0) o->target = DrawTarget::GivenWindow;
    o->delayMicroseconds = std::max(o->delayMicroseconds, MinDelayMicroseconds);
    o->seedGiven = seed->count() > 0;
    o->sharedMemory = noShm->count() == 0;
    return -1;
}
