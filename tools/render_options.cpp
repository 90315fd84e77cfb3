#include "tools/render_options.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <cstdio>

#include "saver_rules/whole_number_option.h"
#include "scene/tunables.h"

int ParseRenderOptions(int argc, char** argv, RenderOptions* o) {
    CLI::App app{"Runs the saver's scene headless and writes PNG frames.", "zova-render"};
    app.footer("At least one of --out and --sheet is needed.\n");
    app.set_version_flag("--version", "zova-render " ZOVA_VERSION);
    app.add_option("--width", o->width, "canvas width")
        ->transform(WholeNumber(1, 16384))
        ->capture_default_str();
    app.add_option("--height", o->height, "canvas height")
        ->transform(WholeNumber(1, 16384))
        ->capture_default_str();
    app.add_option("--balls", o->balls, "number of balls")
        ->transform(WholeNumber(0, MaxBalls))
        ->capture_default_str();
    app.add_option("--seed", o->seed, "generator seed")
        ->transform(WholeNumber(0, UINT32_MAX))
        ->capture_default_str();
    app.add_option("--ticks", o->ticks, "ticks to run")
        ->transform(WholeNumber(1, 100000000))
        ->capture_default_str();
    app.add_option("--every", o->every, "keep every Nth tick's frame")
        ->transform(WholeNumber(1, 100000000))
        ->capture_default_str();
    app.add_option("--out", o->outDir, "write frame_00001.png, frame_00002.png ... into DIR")
        ->type_name("DIR");
    app.add_option("--sheet", o->sheetFile, "write the kept frames side by side into one PNG")
        ->type_name("FILE");
    app.add_option("--columns", o->sheetColumns, "frames per row of the sheet")
        ->transform(WholeNumber(1, 64))
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
    } catch (const CLI::CallForVersion& version) {
        std::printf("%s\n", version.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        error = e.what();
    }
    if (error.empty()) return -1;
    std::fprintf(stderr, "zova-render: %s\n", error.c_str());
    return 2;
}
