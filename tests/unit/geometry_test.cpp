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
    struct Case {
        double in;
        double out;
    };
    const Case cases[] = {
        {-12.0, 348.0},
        {360.0, 0.0},
        {372.0, 12.0},
        {-720.0, 0.0},
        {-180.0, 180.0},
        {540.0, 180.0},
        {0.0, 0.0},
        {359.5, 359.5},
        {720.25, 0.25},
        {-359.75, 0.25},
        // Adding 360 to a tiny negative rounds to 360, which must come out as 0.
        {-1e-20, 0.0},
        {-std::numeric_limits<double>::denorm_min(), 0.0},
        // Far beyond a few turns: reduced exactly rather than one turn at a time.
        {360.0 * 5000.0 + 12.0, 12.0},
        {-(360.0 * 5000.0 + 12.0), 348.0},
    };
    for (const Case& c : cases) EXPECT_EQ(NormalizeDegrees(c.in), c.out) << "in " << c.in;
}

TEST(NormalizeDegrees, AddsBeforeSubtractingLikeTheFold) {
    // Each step rounds, so the result is that of the additions made one by one, not of an exact
    // remainder.
    EXPECT_EQ(NormalizeDegrees(-12.3), -12.3 + 360.0);
    EXPECT_EQ(NormalizeDegrees(-1e-12), -1e-12 + 360.0);
    EXPECT_EQ(NormalizeDegrees(-371.7), (-371.7 + 360.0) + 360.0);
}

TEST(NormalizeDegrees, EndsInRangeForAnyInput) {
    const double inputs[] = {NaN,  Inf,   -Inf,    1e300,    -1e300,
                             1e20, -1e20, DBL_MAX, -DBL_MAX, 9007199254740993.0};
    for (double in : inputs) {
        const double out = NormalizeDegrees(in);
        EXPECT_GE(out, 0.0) << "in " << in;
        EXPECT_LT(out, 360.0) << "in " << in;
    }
    EXPECT_EQ(NormalizeDegrees(NaN), 0.0);
    EXPECT_EQ(NormalizeDegrees(Inf), 0.0);
}

TEST(Cross, SignTellsTheSideOfTheTurn) {
    struct Case {
        double ox, oy, ax, ay, bx, by, expected;
    };
    const Case cases[] = {
        {0, 0, 1, 0, 0, 1, 1.0},      // B below A on the screen: raising A's heading reaches it
        {0, 0, 0, 1, 1, 0, -1.0},     // the other way round
        {0, 0, 2, 4, 1, 2, 0.0},      // parallel
        {0, 0, 1, 1, -2, -2, 0.0},    // opposite
        {0, 0, 0, 0, 3, 7, 0.0},      // zero vector
        {1, 1, 3, 1, 1, 5, 8.0},      // measured from the origin point
        {5, -2, 5, 3, 7, -2, -10.0},  // (0, 5) x (2, 0)
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cross(c.ox, c.oy, c.ax, c.ay, c.bx, c.by), c.expected)
            << "A (" << c.ax << ", " << c.ay << ") B (" << c.bx << ", " << c.by << ")";
}

TEST(Distance, IsEuclideanAndSymmetric) {
    EXPECT_EQ(Distance(0, 0, 3, 4), 5.0);
    EXPECT_EQ(Distance(-1, -2, 2, 2), 5.0);
    EXPECT_EQ(Distance(7.5, -3, 7.5, -3), 0.0);
    const double points[][4] = {{0, 0, 3, 4}, {1.25, -7, -3.5, 2}, {100.1, 50.7, 121.9, 51.3}};
    for (const auto& p : points)
        EXPECT_EQ(Distance(p[0], p[1], p[2], p[3]), Distance(p[2], p[3], p[0], p[1]));
}

TEST(Rotate, IdentityAndQuarterTurn) {
    const double points[][4] = {{0, 0, 3, -4}, {2, 5, 2.5, -1}, {-7, 1, 9, 9}};
    for (const auto& p : points) {
        double x = NaN;
        double y = NaN;
        RotateAbout(p[0], p[1], p[2], p[3], 1.0, 0.0, &x, &y);
        EXPECT_EQ(x, p[2]);
        EXPECT_EQ(y, p[3]);
    }
    // A positive angle turns +x toward +y: clockwise on the screen.
    double x = NaN;
    double y = NaN;
    RotateAbout(1, 1, 2, 1, 0.0, 1.0, &x, &y);
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(y, 2.0);
    RotateByAngle(0, 0, 1, 0, Pi / 2, &x, &y);
    EXPECT_NEAR(x, 0.0, 1e-15);
    EXPECT_NEAR(y, 1.0, 1e-15);
    RotateByAngle(10, 20, 13, 20, -Pi / 2, &x, &y);
    EXPECT_NEAR(x, 10.0, 1e-14);
    EXPECT_NEAR(y, 17.0, 1e-14);
}

TEST(AngleConversion, EvaluatesInTheGivenOrder) {
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

TEST(SplitColor, TakesRedFromTheLowByte) {
    struct Case {
        uint32_t colour;
        int32_t red, green, blue;
    };
    const Case cases[] = {
        {0x00FFFFFFu, 255, 255, 255}, {0x000000F0u, 240, 0, 0},        {0x00C8C8FFu, 255, 200, 200},
        {0x006464F0u, 240, 100, 100}, {0xAB123456u, 0x56, 0x34, 0x12}, {0xFF000000u, 0, 0, 0},
    };
    for (const Case& c : cases) {
        int32_t red = -1;
        int32_t green = -1;
        int32_t blue = -1;
        SplitColor(c.colour, &red, &green, &blue);
        EXPECT_EQ(red, c.red) << std::hex << c.colour;
        EXPECT_EQ(green, c.green) << std::hex << c.colour;
        EXPECT_EQ(blue, c.blue) << std::hex << c.colour;
    }
}

}  // namespace
