// zova-x11 as screen savers run it, on private X servers: what it draws, how it ends, what it
// refuses.
#include <gtest/gtest.h>
// After GoogleTest: Xlib's macros (None, Bool) would clash with its names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "frames/frame_loop.h"
#include "raster/raster_image.h"
#include "scene/frame_step.h"
#include "scene/scene.h"

namespace {

using namespace std::chrono_literals;
using Pixels = std::vector<unsigned long>;

// Shared-memory segments the process made that still exist.
int Segments(pid_t pid) {
    std::ifstream table("/proc/sysvipc/shm");
    int found = 0;
    for (std::string line; std::getline(table, line);) {
        long f[5];  // key, shmid, perms, size, the creator's pid; the heading reads as none
        found += std::istringstream(line) >> f[0] >> f[1] >> f[2] >> f[3] >> f[4] && f[4] == pid;
    }
    return found;
}

class HackTest : public testing::Test {
  protected:
    void SetUp() override { UseServer("Xvfb -screen 0 1024x768x24"); }
    void TearDown() override {
        if (hack > 0) kill(hack, SIGKILL), waitpid(hack, nullptr, 0);
        for (pid_t server : servers) kill(server, SIGTERM), waitpid(server, nullptr, 0);
        std::remove(errors.c_str());
    }
    // Starts an X server (`command` takes -displayfd 3) that the hack and the test use from
    // here on; the ones before it stay up until the test ends.
    void UseServer(const std::string& command) {
        FILE* out = popen(
            (command + " -displayfd 3 -nolisten tcp 3>&1 >/dev/null 2>&1 & echo $!").c_str(), "r");
        int number = -1;
        servers.push_back(0);
        if (std::fscanf(out, "%d %d", &servers.back(), &number) != 2) number = -1;
        pclose(out);
        name = ":" + std::to_string(number);
        // Ready once it has written its number.
        ASSERT_NE(display = XOpenDisplay(name.c_str()), nullptr) << command;
        // A window may go while it is read: that is a failed read, not the end of the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    // Starts zova-x11 with these words, ID standing for `window`; NAME=VALUE words before the
    // options set its environment.
    void Start(std::string words, Window window = 0) {
        if (words.find("ID") != std::string::npos)
            words.replace(words.find("ID"), 2, std::to_string(window));
        words.insert(words[0] == '-' ? 0 : words.find(" -") + 1, ZOVA_X11 " ");
        words = "exec env -u XSCREENSAVER_WINDOW DISPLAY=" + name + " " + words;
        if ((hack = fork()) == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);  // gone with the test, however that ends
            dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            execl("/bin/sh", "sh", "-c", words.c_str(), nullptr);
            _exit(127);
        }
    }
    // The exit status (128 + the signal that ended it) once the hack has ended within `limit`;
    // -1 if it has not.
    int Ended(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        int status = 0;
        for (; waitpid(hack, &status, WNOHANG) != hack; std::this_thread::sleep_for(10ms))
            if (std::chrono::steady_clock::now() > end) return -1;
        hack = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::string Errors() {
        std::ifstream file(errors);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    // Polls the pixels of `area` of the window (0xRRGGBB as its colormap gives them, channels
    // cut to what the visual keeps; all of it without an area) until `seen` holds; false after
    // 5 s.
    bool Shows(Window window, const std::function<bool(const Pixels&, int width)>& seen,
               XRectangle area = {}) {
        for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(50ms)) {
            XWindowAttributes a = {};
            XGetWindowAttributes(display, window, &a);
            if (area.width == 0) area.width = a.width, area.height = a.height;
            XImage* image = XGetImage(display, window, area.x, area.y, area.width, area.height,
                                      AllPlanes, ZPixmap);
            std::map<unsigned long, unsigned long> rgb;
            Pixels pixels;
            for (int y = 0; image != nullptr && y < area.height; ++y)
                for (int x = 0; x < area.width; ++x)
                    pixels.push_back(XGetPixel(image, x, y)), rgb[pixels.back()];
            if (image != nullptr) XDestroyImage(image);
            // The bits of 0xRRGGBB the visual keeps: all of them where it has no channel masks.
            keep = 0;
            for (unsigned long mask :
                 {a.visual->red_mask, a.visual->green_mask, a.visual->blue_mask})
                keep = keep << 8 | (0xFF00 >> __builtin_popcountl(mask) & 0xFF);
            if (keep == 0) keep = 0xFFFFFF;
            for (auto& [pixel, value] : rgb) {
                XColor c = {pixel, 0, 0, 0, 0, 0};
                XQueryColor(display, a.colormap, &c);
                value = (c.red >> 8 << 16 | c.green >> 8 << 8 | c.blue >> 8) & keep;
            }
            for (unsigned long& p : pixels) p = rgb[p];
            if (!pixels.empty() && seen(pixels, area.width)) return true;
        }
        return false;
    }
    // The tick after which a width-wide scene started with `seed` shows the pixels Shows read,
    // balls in; 0 if none of the first 2000.
    int TickShown(const Pixels& pixels, int width, uint32_t seed = 1) const {
        if (std::count(pixels.begin(), pixels.end(), 0xF00000 & keep) == 0) return 0;
        const int height = static_cast<int>(pixels.size()) / width;
        Scene scene;
        RasterImage canvas;
        canvas.Create(width, height, 24);
        StartScene(&scene, width, height, DefaultBallCount, seed);
        for (int tick = 1; tick <= 2000; ++tick) {
            StepScene(&scene, canvas, nullptr);
            size_t i = 0;
            for (const uint8_t* p; i < pixels.size(); ++i) {
                p = canvas.RowPointer(i / width) + 3 * (i % width);
                if (pixels[i] != ((0ul + (p[2] << 16 | p[1] << 8 | p[0])) & keep)) break;
            }
            if (i == pixels.size()) return tick;
        }
        return 0;
    }

    std::string name;
    Display* display = nullptr;
    unsigned long keep = 0;  // of the window Shows read last
    std::vector<pid_t> servers;
    pid_t hack = 0;
    // Its stderr; one file per test process, as ctest runs them side by side.
    std::string errors = testing::TempDir() + "zova-x11-" + std::to_string(getpid()) + ".txt";
};

// Each way a daemon or a user starts it, on a screen of each depth: the picture, rounded to the
// visual's colours, tick after tick; shared memory while it runs; how it ends.
TEST_F(HackTest, ShowsTheSceneTickByTickAndEndsAsAsked) {
    const struct {
        int depth;  // of the screen; 32: a 32-bit TrueColor window on a 24-bit screen
        const char* args;
        char window;   // made by the test, the root, or the hack's own
        bool resized;  // the scene starts again at the new size
        int end;       // window destroyed (0), a signal, or a close request (-1)
    } ways[] = {
        // The settings dialog appends --window-id to the programs line.
        {24, "--root --window-id ID --seed 1", 'm', false, SIGTERM},
        {15, "-root -window-id ID -seed 1", 'm', true, SIGHUP},
        {16, "XSCREENSAVER_WINDOW=ID -seed 1", 'm', false, SIGINT},
        {32, "XSCREENSAVER_WINDOW=ID -root -no-shm -seed 1", 'm', false, 0},
        {8, "-root -seed 1", 'r', false, SIGINT},
        {24, "-geometry 320x240+10+20 -seed 1", 'o', false, -1},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.args);
        UseServer("Xvfb -screen 0 1024x768x" + std::to_string(way.depth == 32 ? 24 : way.depth));
        Window window = way.window == 'r' ? DefaultRootWindow(display) : 0;
        XVisualInfo v;
        if (way.window == 'm' && XMatchVisualInfo(display, 0, way.depth, TrueColor, &v)) {
            XSetWindowAttributes set = {};
            set.colormap =
                XCreateColormap(display, DefaultRootWindow(display), v.visual, AllocNone);
            window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, v.depth,
                                   InputOutput, v.visual, CWColormap | CWBorderPixel, &set);
            XMapWindow(display, window), XSync(display, False);
        }
        Start(way.args, window);
        // Its own window is the newest, titled Zova.
        for (int i = 0; window == 0 && i < 100; ++i, std::this_thread::sleep_for(20ms)) {
            Window root, parent, *children = nullptr;
            unsigned count = 0;
            char* title = nullptr;
            XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
            if (count > 0 && XFetchName(display, children[count - 1], &title))
                window = std::string(title) == "Zova" ? children[count - 1] : 0, XFree(title);
            XFree(children);
        }
        // Every pixel as the scene's canvas has it once balls are in, then a later tick.
        int first = 0;
        EXPECT_TRUE(Shows(window, [&](const Pixels& p, int w) { return first = TickShown(p, w); }));
        if (way.resized) XResizeWindow(display, window, 400, 300), first = 0;
        EXPECT_TRUE(Shows(window, [&](const Pixels& p, int w) { return TickShown(p, w) > first; }));
        XWindowAttributes a;
        if (way.window == 'o' && XGetWindowAttributes(display, window, &a)) {
            EXPECT_EQ(a.x * 100 + a.y, 1020);
        }
        // Shared memory while it runs, none once it has gone.
        const pid_t pid = hack;
        EXPECT_EQ(Segments(pid), std::strstr(way.args, "no-shm") ? 0 : 1);
        if (way.end == 0) XDestroyWindow(display, window);
        if (way.end > 0) kill(hack, way.end);
        if (way.end == -1) {
            XEvent e = {ClientMessage};
            e.xclient.window = window, e.xclient.format = 32;
            e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
            e.xclient.data.l[0] = XInternAtom(display, "WM_DELETE_WINDOW", False);
            XSendEvent(display, window, False, NoEventMask, &e);
        }
        XFlush(display);
        // A signal ends it by that signal, as daemons expect.
        EXPECT_EQ(Ended(1s), way.end > 0 ? 128 + way.end : 0);
        for (int i = 0; i < 50 && Segments(pid) > 0; ++i) std::this_thread::sleep_for(20ms);
        EXPECT_EQ(Segments(pid), 0);
        EXPECT_EQ(Errors(), "");
    }
}

// On an 8-bit screen whose colormap is full the hack stays up, and says so once.
TEST_F(HackTest, StaysUpWithoutColours) {
    UseServer("Xvfb -screen 0 320x240x8");
    unsigned long cells[256];
    for (int n = 256, c = DefaultColormap(display, 0); n > 0;)
        n = XAllocColorCells(display, c, False, nullptr, 0, cells, n) ? n : n / 2;
    XSync(display, False);
    Start("-root -seed 1");
    EXPECT_EQ(Ended(2s), -1);
    const std::string said = Errors();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

// On two Xinerama heads each shows a scene of its size, the primary's as a lone one. (The part of
// the root no head shows has no pixels to read back.)
TEST_F(HackTest, RunsAScenePerMonitorOnTheRoot) {
    setenv("DISPLAY", name.c_str(), 1);  // Xephyr's windows on the test's Xvfb
    UseServer("Xephyr +xinerama -extension RANDR -screen 1280x1024 -screen 1024x768");
    Start("-root -seed 1");
    const Window root = DefaultRootWindow(display);
    const auto scene = [this](uint32_t seed) {
        return [this, seed](const Pixels& p, int w) { return TickShown(p, w, seed) > 0; };
    };
    EXPECT_TRUE(Shows(root, scene(1), {0, 0, 1280, 1024}));
    EXPECT_TRUE(Shows(root, scene(MonitorSeed(1, 1)), {1280, 0, 1024, 768}));
}

// --fps draws in a corner of the window, and writes nothing.
TEST_F(HackTest, ShowsTheFrameRateOnTheWindow) {
    Start("-root -count 0 -fps");  // no balls: all but the text stays black
    const auto lit = [](const Pixels& p, int) { return *std::max_element(p.begin(), p.end()) > 0; };
    EXPECT_TRUE(Shows(DefaultRootWindow(display), lit, {0, 768 - 24, 200, 24}));
    EXPECT_TRUE(Shows(DefaultRootWindow(display), std::not_fn(lit), {0, 0, 1024, 768 - 24}));
    EXPECT_EQ(Errors(), "");
}

TEST_F(HackTest, RefusesBadInputWithOneLineAndStatusTwo) {
    const struct {
        const char* args;
        const char* named;  // what the line must name
    } inputs[] = {
        {"--bogus", "--bogus"},
        {"-count many", "many"},
        {"--count 31", "31"},
        {"--count 031", "031"},  // decimal, not octal 25
        {"-delay -1", "-1"},
        {"-geometry 0x10+1+1", "0x10+1+1"},
        {"--window-id 0x7fffffff", "0x7fffffff"},
        {"XSCREENSAVER_WINDOW=0x7ffffffe -root", "0x7ffffffe"},
        {"--display :65000", ":65000"},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.args);
        Start(input.args);
        EXPECT_EQ(Ended(5s), 2);
        const std::string line = Errors();
        EXPECT_EQ(line.rfind("zova-x11: ", 0), 0u) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
        EXPECT_NE(line.find(input.named), std::string::npos) << line;
    }
}

}  // namespace
