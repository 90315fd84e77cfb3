#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "scene/geometry.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(NormalizeDegrees, FoldsIntoOneTurnForAnyInput) {
    // 360 - 1e-20 rounds to 360, which must come out as 0; far beyond a few turns the angle is
    // reduced exactly, and where adding 360 no longer changes it the fold must still end.
    const double cases[][2] = {
        {-12, 348}, {360, 0},    {372, 12}, {-720, 0}, {-180, 180},
        {540, 180}, {-1e-20, 0}, {NaN, 0},  {-Inf, 0}, {1800012, 12},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeDegrees(c[0]), c[1]) << c[0];
    EXPECT_EQ(NormalizeDegrees(-1800012), 348);
    for (double in : {Inf, 1e300, -1e300, 1e20, DBL_MAX, -DBL_MAX}) {
        const double out = NormalizeDegrees(in);
        EXPECT_TRUE(out >= 0.0 && out < 360.0) << in << " gives " << out;
    }
}

TEST(PlaneGeometry, CrossDistanceRotationAnglesAndColours) {
    // Cross is positive when raising A's heading turns it toward B.
    const double cross[][7] = {
        {0, 0, 1, 0, 0, 1, 1}, {0, 0, 0, 1, 1, 0, -1}, {0, 0, 2, 4, 1, 2, 0},
        {0, 0, 0, 0, 3, 7, 0}, {1, 1, 3, 1, 1, 5, 8},  {5, -2, 5, 3, 7, -2, -10},
    };
    for (const auto& c : cross) EXPECT_EQ(Cross(c[0], c[1], c[2], c[3], c[4], c[5]), c[6]) << c[6];
    EXPECT_EQ(Distance(0, 0, 3, 4), 5.0);
    double x = NaN, y = NaN;
    RotateAbout(2, 5, 2.5, -1, 1.0, 0.0, &x, &y);
    EXPECT_TRUE(x == 2.5 && y == -1.0) << x << ", " << y;
    RotateAbout(1, 1, 2, 1, 0.0, 1.0, &x, &y);  // +x toward +y: clockwise on the screen
    EXPECT_TRUE(x == 1.0 && y == 2.0) << x << ", " << y;
    RotateByAngle(10, 20, 13, 20, -Pi / 2, &x, &y);
    EXPECT_TRUE(std::fabs(x - 10) < 1e-14 && std::fabs(y - 17) < 1e-14) << x << ", " << y;
    // Values that other groupings (d * (pi / 180), a * (180 / pi), ...) round differently.
    EXPECT_EQ(DegToRad(100.0), 1.7453292519943298);
    EXPECT_EQ(DegToRad(7.3), 0.12740903539558604);
    EXPECT_EQ(RadToDeg(1.1), 63.02535746439057);
    EXPECT_EQ(RadToDeg(0.1), 5.729577951308232);
    // Red comes from the low byte; the top one is ignored.
    int32_t red = -1, green = -1, blue = -1;
    SplitColor(0xAB123456u, &red, &green, &blue);
    EXPECT_TRUE(red == 0x56 && green == 0x34 && blue == 0x12) << red << " " << green << " " << blue;
}

}  // namespace
