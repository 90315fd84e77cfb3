#include "tools/render_options.h"

#include <charconv>
#include <cstring>

namespace {

constexpr int64_t MaxSide = 16384;
constexpr int64_t MaxTicks = 100000000;

// A whole decimal number with nothing before or after it, within [low, high].
bool ParseNumber(const std::string& name, const std::string& text, int64_t low, int64_t high,
                 int64_t* value, std::string* error) {
    const char* first = text.c_str();
    const char* last = first + text.size();
    int64_t parsed = 0;
    const auto [end, status] = std::from_chars(first, last, parsed);
    if (text.empty() || status == std::errc::invalid_argument || end != last) {
        *error = name + ": '" + text + "' is not a whole number";
        return false;
    }
    if (status == std::errc::result_out_of_range || parsed < low || parsed > high) {
        *error = name + " must be " + std::to_string(low) + " to " + std::to_string(high) +
                 ", not " + text;
        return false;
    }
    *value = parsed;
    return true;
}

}  // namespace

const char* RenderUsage() {
    return "usage: zova-render [options]\n"
           "Runs the saver's scene headless and writes PNG frames.\n"
           "  --width N      canvas width, 1 to 16384 (640)\n"
           "  --height N     canvas height, 1 to 16384 (480)\n"
           "  --balls N      number of balls, 0 to 30 (20)\n"
           "  --seed N       generator seed, 0 to 4294967295 (1)\n"
           "  --ticks N      ticks to run, 1 to 100000000 (100)\n"
           "  --every N      keep every Nth tick's frame (1)\n"
           "  --out DIR      write frame_00001.png, frame_00002.png ... into DIR\n"
           "  --sheet FILE   write the kept frames side by side into one PNG\n"
           "  --columns N    frames per row of the sheet, 1 to 64 (2)\n"
           "At least one of --out and --sheet is needed.\n";
}

ParseResult ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options,
                               std::string* error) {
    for (int k = 1; k < argc; ++k) {
        std::string name = argv[k];
        if (name == "--help" || name == "-h") return ParseResult::Help;
        if (name.rfind("--", 0) != 0) {
            *error = "unexpected argument '" + name + "' (see --help)";
            return ParseResult::Error;
        }
        std::string value;
        bool hasValue = false;
        const size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }

        static const char* const known[] = {"--width", "--height", "--balls", "--seed",   "--ticks",
                                            "--every", "--out",    "--sheet", "--columns"};
        bool isKnown = false;
        for (const char* candidate : known) isKnown = isKnown || name == candidate;
        if (!isKnown) {
            *error = "unknown option '" + name + "' (see --help)";
            return ParseResult::Error;
        }
        if (!hasValue) {
            if (k + 1 >= argc) {
                *error = name + " needs a value";
                return ParseResult::Error;
            }
            value = argv[++k];
        }

        int64_t number = 0;
        bool ok = true;
        if (name == "--out" || name == "--sheet") {
            if (value.empty()) {
                *error = name + " needs a non-empty path";
                return ParseResult::Error;
            }
            (name == "--out" ? options->outDir : options->sheetFile) = value;
        } else if (name == "--width") {
            ok = ParseNumber(name, value, 1, MaxSide, &number, error);
            options->width = static_cast<int32_t>(number);
        } else if (name == "--height") {
            ok = ParseNumber(name, value, 1, MaxSide, &number, error);
            options->height = static_cast<int32_t>(number);
        } else if (name == "--balls") {
            ok = ParseNumber(name, value, 0, 30, &number, error);
            options->balls = static_cast<uint32_t>(number);
        } else if (name == "--seed") {
            ok = ParseNumber(name, value, 0, UINT32_MAX, &number, error);
            options->seed = static_cast<uint32_t>(number);
        } else if (name == "--ticks") {
            ok = ParseNumber(name, value, 1, MaxTicks, &number, error);
            options->ticks = number;
        } else if (name == "--every") {
            ok = ParseNumber(name, value, 1, MaxTicks, &number, error);
            options->every = number;
        } else {
            ok = ParseNumber(name, value, 1, 64, &number, error);
            options->sheetColumns = static_cast<int32_t>(number);
        }
        if (!ok) return ParseResult::Error;
    }
    if (options->outDir.empty() && options->sheetFile.empty()) {
        *error = "nothing to write: give --out DIR or --sheet FILE (see --help)";
        return ParseResult::Error;
    }
    if (options->ticks / options->every < 1) {
        *error = "--every " + std::to_string(options->every) + " keeps no frame of " +
                 std::to_string(options->ticks) + " ticks";
        return ParseResult::Error;
    }
    return ParseResult::Run;
}
