#include "x11/hack_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// A whole decimal number from low to high. The text is rewritten in plain decimal: CLI11's own
// conversion would read a leading 0 as octal.
CLI::Validator WholeNumber(int64_t low, int64_t high) {
    return CLI::Validator(
        [low, high](std::string& text) -> std::string {
            const std::string problem = "'" + text + "' is not a whole number from " +
                                        std::to_string(low) + " to " + std::to_string(high);
            const size_t sign = !text.empty() && text[0] == '-';
            if (text.size() <= sign || !std::isdigit(static_cast<unsigned char>(text[sign])))
                return problem;
            char* end = nullptr;
            errno = 0;
            const long long value = std::strtoll(text.c_str(), &end, 10);
            if (*end != '\0' || errno != 0 || value < low || value > high) return problem;
            text = std::to_string(value);
            return "";
        },
        "", "WholeNumber");
}

// WxH, each side 1 to 16384.
bool ParseSize(const std::string& text, int32_t* width, int32_t* height) {
    unsigned w = 0, h = 0;
    char x = 0, extra = 0;
    if (std::sscanf(text.c_str(), "%5u%c%5u%c", &w, &x, &h, &extra) != 3 || x != 'x') return false;
    if (!std::isdigit(static_cast<unsigned char>(text[0])) ||
        text.find_first_of("+- ") != text.npos)
        return false;
    if (w < 1 || w > 16384 || h < 1 || h > 16384) return false;
    *width = static_cast<int32_t>(w);
    *height = static_cast<int32_t>(h);
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
    // As X programs take their options: the last of a repeated one counts.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.footer(
        "Long options take one dash or two (-root, --root). Without --root or --window-id the "
        "balls roll in a window of their own.\n");
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
    window->excludes(root)->excludes(given);
    root->excludes(given);
    app.add_option("--geometry", "size of the hack's own window (1024x768)")
        ->type_name("WxH")
        ->check(CLI::Validator(
            [o](std::string& text) -> std::string {
                return ParseSize(text, &o->width, &o->height)
                           ? ""
                           : "'" + text + "' is not a size WxH from 1x1 to 16384x16384";
            },
            "", "Size"));
    app.add_option("--display", o->display, "X display to use (default $DISPLAY)")
        ->type_name("NAME");
    app.add_option("--count", o->count, "number of balls")
        ->check(WholeNumber(0, MaxBalls))
        ->capture_default_str();
    app.add_option("--delay", o->delayMicroseconds, "microseconds from one frame to the next")
        ->check(WholeNumber(0, 1000000))
        ->capture_default_str();
    app.add_flag("--fps", o->showFps,
                 "once a second, write the frames per second and the cores used to stderr");
    auto* noShm =
        app.add_flag("--no-shm", "send frames with XPutImage, not through MIT shared memory");
    auto* seed =
        app.add_option("--seed", o->seed, "start the scene from this seed (default: clock)")
            ->check(WholeNumber(0, 0xFFFFFFFFll));

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
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "zova-x11: %s\n", e.what());
        return 2;
    }
    if (root->count() > 0) o->target = DrawTarget::Root;
    if (given->count() > 0) o->target = DrawTarget::GivenWindow;
    o->seedGiven = seed->count() > 0;
    o->sharedMemory = noShm->count() == 0;
    return -1;
}
