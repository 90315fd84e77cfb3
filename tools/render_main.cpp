// zova-render: runs the saver's scene and canvas headless and writes its frames as PNG files.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "raster/raster_image.h"
#include "scene/frame_step.h"
#include "scene/scene.h"
#include "tools/frame_image.h"
#include "tools/png_file.h"
#include "tools/render_options.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "zova-render: %s\n", message.c_str());
    return 1;
}

std::string FramePath(const std::string& folder, int64_t number) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05lld.png", static_cast<long long>(number));
    return folder + "/" + name;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates the frame folder when it does not exist yet (one level, as mkdir does).
bool PrepareFolder(const std::string& folder, std::string* error) {
    struct stat info;
    if (stat(folder.c_str(), &info) != 0) {
        if (mkdir(folder.c_str(), 0777) != 0) {
            *error = "cannot create folder '" + folder + "': " + std::strerror(errno);
            return false;
        }
    } else if (!S_ISDIR(info.st_mode)) {
        *error = "'" + folder + "' is not a folder";
        return false;
    }
    return CanCreateFilesIn(folder, error);
}

bool PrepareSheetFile(const std::string& path, std::string* error) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        *error = "'" + path + "' is a folder, not a file name";
        return false;
    }
    return CanCreateFilesIn(FolderOf(path), error);
}

// A progress line for runs watched on a terminal, redrawn a few times a second.
class Progress {
  public:
    explicit Progress(int64_t total) : total_(total), shown_(isatty(STDERR_FILENO) == 1) {}
    void Update(int64_t tick) {
        if (!shown_) return;
        const auto now = std::chrono::steady_clock::now();
        if (now < next_) return;
        next_ = now + std::chrono::milliseconds(250);
        std::fprintf(stderr, "\rzova-render: tick %lld of %lld", static_cast<long long>(tick),
                     static_cast<long long>(total_));
        drawn_ = true;
    }
    void Finish() {
        if (drawn_) std::fprintf(stderr, "\r\033[K");
    }

  private:
    int64_t total_;
    bool shown_;
    bool drawn_ = false;
    // The first line waits a moment, so that short runs stay silent.
    std::chrono::steady_clock::time_point next_ =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
};

}  // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    const int parsed = ParseRenderOptions(argc, argv, &options);
    if (parsed >= 0) return parsed;
    std::string error;

    const int64_t frames = options.ticks / options.every;
    SheetLayout layout;
    if (!options.sheetFile.empty()) {
        if (!LayoutSheet(frames, options.sheetColumns, options.width, options.height, &layout)) {
            std::fprintf(stderr,
                         "zova-render: a sheet of %lld frames of %dx%d is too large; keep fewer "
                         "frames (--every) or make them smaller\n",
                         static_cast<long long>(frames), options.width, options.height);
            return 2;
        }
        if (!PrepareSheetFile(options.sheetFile, &error)) return Fail(error);
    }
    if (!options.outDir.empty() && !PrepareFolder(options.outDir, &error)) return Fail(error);

    RasterImage canvas;
    if (canvas.Create(options.width, options.height, 24) != 1) {
        return Fail("no memory for a " + std::to_string(options.width) + "x" +
                    std::to_string(options.height) + " canvas");
    }
    // The scene start of the saver, with a chosen seed instead of the clock.
    Scene scene;
    StartScene(&scene, options.width, options.height, options.balls, options.seed);

    std::vector<uint8_t> sheet;
    if (!options.sheetFile.empty()) sheet = NewSheet(layout);

    Progress progress(options.ticks);
    int64_t written = 0;
    for (int64_t tick = 1; tick <= options.ticks; ++tick) {
        StepScene(&scene, canvas, nullptr);
        progress.Update(tick);
        if (tick % options.every != 0) continue;

        const std::vector<uint8_t> rgb = CanvasToRgb(canvas);
        if (!options.outDir.empty() &&
            !WritePngFile(FramePath(options.outDir, written + 1), rgb.data(), options.width,
                          options.height, &error)) {
            progress.Finish();
            return Fail(error);
        }
        if (!sheet.empty()) {
            PlaceOnSheet(&sheet, layout, written, rgb, options.width, options.height);
        }
        ++written;
    }
    progress.Finish();

    if (!sheet.empty() &&
        !WritePngFile(options.sheetFile, sheet.data(), layout.width, layout.height, &error)) {
        return Fail(error);
    }
    return 0;
}
