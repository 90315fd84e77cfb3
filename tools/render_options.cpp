#include "tools/render_options.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "scene/tunables.h"

namespace {

// CLI11's own number check speaks of floats; these options take whole decimal numbers.
const CLI::Validator WholeNumber(
    [](std::string& text) -> std::string {
        const bool digits =
            text.find_first_not_of("0123456789", text[0] == '-') == std::string::npos;
        return digits && text != "-" ? "" : "'" + text + "' is not a whole number";
    },
    "", "WholeNumber");

}  // namespace

int ParseRenderOptions(int argc, char** argv, RenderOptions* o) {
    CLI::App app{"Runs the saver's scene headless and writes PNG frames.", "zova-render"};
    app.footer("At least one of --out and --sheet is needed.\n");
    app.add_option("--width", o->width, "canvas width")
        ->check(WholeNumber)
        ->check(CLI::Range(1, 16384))
        ->capture_default_str();
    app.add_option("--height", o->height, "canvas height")
        ->check(WholeNumber)
        ->check(CLI::Range(1, 16384))
        ->capture_default_str();
    app.add_option("--balls", o->balls, "number of balls")
        ->check(WholeNumber)
        ->check(CLI::Range(0, MaxBalls))
        ->capture_default_str();
    app.add_option("--seed", o->seed, "generator seed")->check(WholeNumber)->capture_default_str();
    app.add_option("--ticks", o->ticks, "ticks to run")
        ->check(WholeNumber)
        ->check(CLI::Range(1, 100000000))
        ->capture_default_str();
    app.add_option("--every", o->every, "keep every Nth tick's frame")
        ->check(WholeNumber)
        ->check(CLI::Range(1, 100000000))
        ->capture_default_str();
    app.add_option("--out", o->outDir, "write frame_00001.png, frame_00002.png ... into DIR")
        ->type_name("DIR");
    app.add_option("--sheet", o->sheetFile, "write the kept frames side by side into one PNG")
        ->type_name("FILE");
    app.add_option("--columns", o->sheetColumns, "frames per row of the sheet")
        ->check(WholeNumber)
        ->check(CLI::Range(1, 64))
        ->capture_default_str();

    std::string error;
    try {
        app.parse(argc, argv);
        if (o->outDir.empty() && o->sheetFile.empty())
            error = "nothing to write: give --out DIR or --sheet FILE (see --help)";
        else if (o->ticks / o->every < 1)
            error = "--every " + std::to_string(o->every) + " keeps no frame of " +
                    std::to_string(o->ticks) + " ticks";
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::ParseError& e) {
        error = e.what();
    }
    if (error.empty()) return -1;
    std::fprintf(stderr, "zova-render: %s\n", error.c_str());
    return 2;
}
