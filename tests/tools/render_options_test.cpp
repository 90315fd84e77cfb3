#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/render_options.h"

namespace {

ParseResult Parse(std::vector<const char*> args, RenderOptions* options, std::string* error) {
    args.insert(args.begin(), "zova-render");
    return ParseRenderOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(RenderOptions, RefusesBadArgumentsWithOneLine) {
    const struct {
        std::vector<const char*> args;
        const char* says;
    } cases[] = {
        {{"--out", "d", "--frobnicate", "1"}, "unknown option '--frobnicate'"},
        {{"--out", "d", "-w", "10"}, "unexpected argument '-w'"},
        {{"--out", "d", "640"}, "unexpected argument '640'"},
        {{"--out", "d", "--width"}, "--width needs a value"},
        {{"--out"}, "--out needs a value"},
        {{"--out="}, "--out needs a non-empty path"},
        {{"--out", "d", "--width", "abc"}, "'abc' is not a whole number"},
        {{"--out", "d", "--width", "64x"}, "'64x' is not a whole number"},
        {{"--out", "d", "--width", " 64"}, "' 64' is not a whole number"},
        {{"--out", "d", "--width", "+64"}, "'+64' is not a whole number"},
        {{"--out", "d", "--width", "6.4"}, "'6.4' is not a whole number"},
        {{"--out", "d", "--width="}, "'' is not a whole number"},
        {{"--out", "d", "--width", "0"}, "--width must be 1 to 16384, not 0"},
        {{"--out", "d", "--height", "16385"}, "--height must be 1 to 16384, not 16385"},
        {{"--out", "d", "--height", "-5"}, "--height must be 1 to 16384, not -5"},
        {{"--out", "d", "--balls", "31"}, "--balls must be 0 to 30, not 31"},
        {{"--out", "d", "--balls", "-1"}, "--balls must be 0 to 30, not -1"},
        {{"--out", "d", "--seed", "4294967296"}, "--seed must be 0 to 4294967295"},
        {{"--out", "d", "--ticks", "99999999999999999999999"}, "--ticks must be 1 to"},
        {{"--out", "d", "--ticks", "0"}, "--ticks must be 1 to"},
        {{"--out", "d", "--every", "0"}, "--every must be 1 to"},
        {{"--out", "d", "--ticks", "5", "--every", "6"}, "--every 6 keeps no frame of 5 ticks"},
        {{"--sheet", "s.png", "--columns", "0"}, "--columns must be 1 to 64"},
        {{"--width", "100"}, "nothing to write"},
    };
    for (const auto& c : cases) {
        RenderOptions options;
        std::string error;
        EXPECT_EQ(Parse(c.args, &options, &error), ParseResult::Error) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(RenderOptions, ReadsBothSpellingsAndKeepsDefaults) {
    RenderOptions options;
    std::string error;
    ASSERT_EQ(
        Parse({"--width=1920", "--height", "1080", "--balls", "0", "--seed=4294967295", "--ticks",
               "300", "--every=50", "--out", "frames", "--sheet=s.png", "--columns", "3"},
              &options, &error),
        ParseResult::Run)
        << error;
    EXPECT_EQ(options.width, 1920);
    EXPECT_EQ(options.height, 1080);
    EXPECT_EQ(options.balls, 0u);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_EQ(options.ticks, 300);
    EXPECT_EQ(options.every, 50);
    EXPECT_EQ(options.outDir, "frames");
    EXPECT_EQ(options.sheetFile, "s.png");
    EXPECT_EQ(options.sheetColumns, 3);

    RenderOptions defaults;
    ASSERT_EQ(Parse({"--out", "d"}, &defaults, &error), ParseResult::Run);
    EXPECT_EQ(defaults.width, 640);
    EXPECT_EQ(defaults.height, 480);
    EXPECT_EQ(defaults.balls, 20u);
    EXPECT_EQ(defaults.ticks, 100);
    EXPECT_EQ(defaults.every, 1);
}

TEST(RenderOptions, HelpWinsWherever) {
    RenderOptions options;
    std::string error;
    EXPECT_EQ(Parse({"--width", "5", "--help"}, &options, &error), ParseResult::Help);
    EXPECT_EQ(Parse({"-h"}, &options, &error), ParseResult::Help);
}

}  // namespace
