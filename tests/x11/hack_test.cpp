// zova-x11 as screen savers run it, on a private Xvfb: what it draws, how it ends, what it
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
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "raster/raster_image.h"
#include "scene/frame_step.h"
#include "scene/scene.h"

namespace {

using namespace std::chrono_literals;
using Pixels = std::vector<unsigned long>;

// The tick after which a scene started as the hack starts it (seed 1) shows these pixels
// (0xRRGGBB, row by row); 0 if none of the first 2000 does.
int TickShown(const Pixels& pixels, int width) {
    const int height = static_cast<int>(pixels.size()) / width;
    Scene scene;
    RasterImage canvas;
    canvas.Create(width, height, 24);
    StartScene(&scene, width, height, DefaultBallCount, 1);
    for (int tick = 1; tick <= 2000; ++tick) {
        StepScene(&scene, canvas, nullptr);
        size_t i = 0;
        for (const uint8_t* p; i < pixels.size(); ++i) {
            p = canvas.RowPointer(i / width) + 3 * (i % width);
            if (pixels[i] != (0ul + (p[2] << 16 | p[1] << 8 | p[0]))) break;
        }
        if (i == pixels.size()) return tick;
    }
    return 0;
}

class HackTest : public testing::Test {
  protected:
    // One Xvfb per test program, on a display number it picks; it ends with its last client.
    static void SetUpTestSuite() {
        FILE* out = popen(
            "Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -terminate "
            "3>&1 >/dev/null 2>&1 & echo $!",
            "r");
        int xvfb = 0, number = -1;
        ASSERT_EQ(std::fscanf(out, "%d %d", &xvfb, &number), 2) << "Xvfb did not start";
        pclose(out);
        setenv("DISPLAY", (":" + std::to_string(number)).c_str(), 1);
        ASSERT_NE(display = XOpenDisplay(nullptr), nullptr);
        // A window may go while it is read: that is a failed read, not the end of the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    static void TearDownTestSuite() { XCloseDisplay(display); }
    void TearDown() override {
        if (hack > 0) kill(hack, SIGKILL), waitpid(hack, nullptr, 0);
        std::remove(errors.c_str());
    }

    // Starts zova-x11 with these words, ID standing for `window`; NAME=VALUE words set its
    // environment.
    void Start(const std::string& words, Window window = 0) {
        std::istringstream split(ZOVA_X11 " " + words);
        std::vector<std::string> text{std::istream_iterator<std::string>(split), {}};
        std::vector<char*> argv;
        unsetenv("XSCREENSAVER_WINDOW");
        for (std::string& word : text) {
            if (word.find("ID") != std::string::npos)
                word.replace(word.find("ID"), 2, std::to_string(window));
            const size_t is = word.find('=');
            if (is == std::string::npos)
                argv.push_back(word.data());
            else
                setenv(word.substr(0, is).c_str(), word.c_str() + is + 1, 1);
        }
        argv.push_back(nullptr);
        if ((hack = fork()) == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);  // gone with the test, however that ends
            dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }
    // The exit status once the hack has ended within `limit`; -1 if it has not.
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
    // Polls the window's pixels (0xRRGGBB, row by row) until `seen` holds; false after 5 s.
    bool Shows(Window window, const std::function<bool(const Pixels&, int width)>& seen) {
        for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(50ms)) {
            XWindowAttributes a = {};
            XGetWindowAttributes(display, window, &a);
            XImage* image = XGetImage(display, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
            Pixels pixels;
            for (int y = 0; image != nullptr && y < a.height; ++y)
                for (int x = 0; x < a.width; ++x)
                    pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
            if (image != nullptr) XDestroyImage(image);
            if (!pixels.empty() && seen(pixels, a.width)) return true;
        }
        return false;
    }

    static inline Display* display = nullptr;
    pid_t hack = 0;
    // Its stderr; one file per test process, as ctest runs them side by side.
    std::string errors = testing::TempDir() + "zova-x11-" + std::to_string(getpid()) + ".txt";
};

TEST_F(HackTest, ShowsTheSceneTickByTickAndEndsWithStatusZero) {
    const struct {
        const char* args;
        char window;   // made by the test, the root, or the hack's own
        bool resized;  // the scene starts again at the new size
        char end;      // window destroyed, SIGTERM, SIGINT, close request
    } ways[] = {
        {"--window-id ID --seed 1", 'm', false, 'd'},
        {"XSCREENSAVER_WINDOW=ID -root -no-shm -seed 1", 'm', false, 'T'},
        {"-root -seed 1", 'r', false, 'I'},
        {"-window-id ID -seed 1", 'm', true, 'T'},
        {"-geometry 320x240 -seed 1", 'o', false, 'c'},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.args);
        Window window = way.window == 'r' ? DefaultRootWindow(display) : 0;
        if (way.window == 'm') {
            window =
                XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, 0, 0);
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
        EXPECT_TRUE(Shows(window, [&](const Pixels& p, int width) {
            return std::count(p.begin(), p.end(), 0xF00000) > 0 &&
                   width == (way.window == 'r' ? 1024 : 320) && (first = TickShown(p, width));
        }));
        if (way.resized) XResizeWindow(display, window, 400, 300), first = 0;
        EXPECT_TRUE(Shows(window, [&](const Pixels& p, int width) {
            return TickShown(p, width) > first && (!way.resized || width == 400);
        }));
        if (way.end == 'd') XDestroyWindow(display, window);
        if (way.end == 'T' || way.end == 'I') kill(hack, way.end == 'T' ? SIGTERM : SIGINT);
        if (way.end == 'c') {
            XEvent e = {ClientMessage};
            e.xclient.window = window, e.xclient.format = 32;
            e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
            e.xclient.data.l[0] = XInternAtom(display, "WM_DELETE_WINDOW", False);
            XSendEvent(display, window, False, NoEventMask, &e);
        }
        XFlush(display);
        // Signals end it by that signal, as daemons expect.
        EXPECT_EQ(Ended(1s), way.end == 'T' ? 128 + SIGTERM : way.end == 'I' ? 128 + SIGINT : 0);
        EXPECT_EQ(Errors(), "");
        if (way.window == 'm') XDestroyWindow(display, window);
    }
}

TEST_F(HackTest, RefusesBadInputWithOneLineAndStatusTwo) {
    const struct {
        const char* args;
        const char* named;  // what the line must name
    } inputs[] = {
        {"--bogus", "--bogus"},
        {"-count many", "many"},
        {"--count 31", "31"},
        {"-delay -1", "-1"},
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
