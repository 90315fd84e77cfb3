#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "scene/geometry.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(NormalizeDegrees, FoldsIntoOneTurn) {
    const double cases[][2] = {
        {-12.0, 348.0},
        {360.0, 0.0},
        {372.0, 12.0},
        {-720.0, 0.0},
        {-180.0, 180.0},
        {540.0, 180.0},
        {0.0, 0.0},
        {359.5, 359.5},
        {-12.3, -12.3 + 360.0},  // one rounded addition, as the fold makes it
        // Adding 360 to a tiny negative rounds to 360, which must come out as 0.
        {-1e-20, 0.0},
        {-std::numeric_limits<double>::denorm_min(), 0.0},
        // Far beyond a few turns: reduced exactly rather than one turn at a time.
        {360.0 * 5000.0 + 12.0, 12.0},
        {-(360.0 * 5000.0 + 12.0), 348.0}};
    for (const auto& c : cases) EXPECT_EQ(NormalizeDegrees(c[0]), c[1]) << "in " << c[0];
}

TEST(NormalizeDegrees, EndsInRangeForAnyInput) {
    const double inputs[] = {NaN, Inf, -Inf, 1e300, -1e300, 1e20, -1e20, DBL_MAX, -DBL_MAX};
    for (double in : inputs) {
        const double out = NormalizeDegrees(in);
        EXPECT_TRUE(out >= 0.0 && out < 360.0) << "in " << in << " out " << out;
    }
    EXPECT_EQ(NormalizeDegrees(NaN), 0.0);
    EXPECT_EQ(NormalizeDegrees(-Inf), 0.0);
}

TEST(PlaneGeometry, CrossDistanceAndRotation) {
    // Positive when raising A's heading turns it toward B (B below A on the screen).
    const double cross[][7] = {{0, 0, 1, 0, 0, 1, 1},    {0, 0, 0, 1, 1, 0, -1},
                               {0, 0, 2, 4, 1, 2, 0},    {0, 0, 1, 1, -2, -2, 0},
                               {0, 0, 0, 0, 3, 7, 0},    {1, 1, 3, 1, 1, 5, 8},
                               {5, -2, 5, 3, 7, -2, -10}};
    for (const auto& c : cross) EXPECT_EQ(Cross(c[0], c[1], c[2], c[3], c[4], c[5]), c[6]) << c[2];

    const double distance[][5] = {{0, 0, 3, 4, 5}, {-1, -2, 2, 2, 5}, {7.5, -3, 7.5, -3, 0}};
    for (const auto& d : distance) {
        EXPECT_EQ(Distance(d[0], d[1], d[2], d[3]), d[4]);
        EXPECT_EQ(Distance(d[2], d[3], d[0], d[1]), d[4]);
    }
    EXPECT_EQ(Distance(1.25, -7, -3.5, 2.1), Distance(-3.5, 2.1, 1.25, -7));

    double x = NaN;
    double y = NaN;
    RotateAbout(2, 5, 2.5, -1, 1.0, 0.0, &x, &y);
    EXPECT_EQ(x, 2.5);
    EXPECT_EQ(y, -1.0);
    RotateAbout(1, 1, 2, 1, 0.0, 1.0, &x, &y);  // +x turns toward +y: clockwise on the screen
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(y, 2.0);
    RotateByAngle(0, 0, 1, 0, Pi / 2, &x, &y);
    EXPECT_NEAR(x, 0.0, 1e-15);
    EXPECT_NEAR(y, 1.0, 1e-15);
    RotateByAngle(10, 20, 13, 20, -Pi / 2, &x, &y);
    EXPECT_NEAR(x, 10.0, 1e-14);
    EXPECT_NEAR(y, 17.0, 1e-14);
}

TEST(PlaneGeometry, AngleConversionsEvaluateInTheGivenOrder) {
    // Values for which other groupings (d * (pi / 180), a * (180 / pi), ...) round differently.
    const double degrees[][2] = {{12.0, 0.20943951023931956},
                                 {100.0, 1.7453292519943298},
                                 {200.0, 3.4906585039886595},
                                 {7.3, 0.12740903539558604},
                                 {180.0, Pi}};
    for (const auto& d : degrees) EXPECT_EQ(DegToRad(d[0]), d[1]) << d[0];
    const double radians[][2] = {{0.1, 5.729577951308232},
                                 {0.7, 40.10704565915762},
                                 {1.1, 63.02535746439057},
                                 {0.001, 0.05729577951308232},
                                 {Pi / 2, 90.0}};
    for (const auto& r : radians) EXPECT_EQ(RadToDeg(r[0]), r[1]) << r[0];
}

TEST(PlaneGeometry, SplitColorTakesRedFromTheLowByte) {
    const uint32_t cases[][4] = {{0x00FFFFFFu, 255, 255, 255},    {0x000000F0u, 240, 0, 0},
                                 {0x00C8C8FFu, 255, 200, 200},    {0x006464F0u, 240, 100, 100},
                                 {0xAB123456u, 0x56, 0x34, 0x12}, {0xFF000000u, 0, 0, 0}};
    for (const auto& c : cases) {
        int32_t red = -1;
        int32_t green = -1;
        int32_t blue = -1;
        SplitColor(c[0], &red, &green, &blue);
        EXPECT_EQ(red, static_cast<int32_t>(c[1])) << std::hex << c[0];
        EXPECT_EQ(green, static_cast<int32_t>(c[2])) << std::hex << c[0];
        EXPECT_EQ(blue, static_cast<int32_t>(c[3])) << std::hex << c[0];
    }
}

}  // namespace
