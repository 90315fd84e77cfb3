#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>

#include "raster/raster_image.h"
#include "scene/geometry.h"
#include "scene/striped_ball.h"

namespace {

using DrawFunction = int (*)(RasterImage&, int32_t, int32_t, int32_t, double, double, double,
                             uint32_t, uint32_t);

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Distinct from each other and from the background in every byte.
constexpr uint32_t EvenColour = 0x00C8C8FFu;  // red 255, green 200, blue 200
constexpr uint32_t OddColour = 0x000000F0u;   // red 240
constexpr uint8_t Background[3] = {3, 2, 1};  // blue, green, red

// What a canvas pixel shows: '.' background, 'E' even stripe, 'O' odd stripe, '?' anything else.
char PaintAt(const RasterImage& image, int x, int y) {
    const uint8_t* p = image.RowPointer(y) + 3 * x;
    if (std::memcmp(p, Background, 3) == 0) return '.';
    if (p[0] == 200 && p[1] == 200 && p[2] == 255) return 'E';
    if (p[0] == 0 && p[1] == 0 && p[2] == 240) return 'O';
    return '?';
}

// A 24-bit canvas on a background no ball colour uses, so every written pixel shows.
void MakeCanvas(RasterImage& image, int width, int height) {
    ASSERT_EQ(image.Create(width, height, 24), 1);
    image.FillRectangle(0, 0, width - 1, height - 1, Background[2], Background[1], Background[0]);
}

int CountPainted(const RasterImage& image) {
    int count = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) count += PaintAt(image, x, y) != '.';
    return count;
}

bool RowEndsAreZero(const RasterImage& image) {
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* row = image.RowPointer(y);
        for (int i = 3 * image.Width(); i < image.Stride(); ++i)
            if (row[i] != 0) return false;
    }
    return true;
}

struct Rasteriser {
    const char* name;
    DrawFunction draw;
};

void PrintTo(const Rasteriser& rasteriser, std::ostream* out) { *out << rasteriser.name; }

class BallDrawing : public ::testing::TestWithParam<Rasteriser> {
  protected:
    int Draw(RasterImage& image, int32_t x, int32_t y, int32_t radius, double heading, double roll,
             double width = 30.0) {
        return GetParam().draw(image, x, y, radius, heading, roll, width, EvenColour, OddColour);
    }
};

INSTANTIATE_TEST_SUITE_P(Both, BallDrawing,
                         ::testing::Values(Rasteriser{"Fast", DrawStripedBall},
                                           Rasteriser{"Reference", DrawStripedBallReference}),
                         [](const ::testing::TestParamInfo<Rasteriser>& info) {
                             return std::string(info.param.name);
                         });

TEST_P(BallDrawing, PaintsTheInclusiveDisc) {
    struct Case {
        int32_t radius;
        double roll;
        int painted;
        char centre;
    };
    const Case cases[] = {
        {-1, 0.0, 0, '.'}, {0, 0.0, 1, 'O'},  // theta 90: stripe 3
        {0, 30.0, 1, 'E'},                    // stripe 4
        {1, 0.0, 5, 'O'},  {14, 17.0, 613, 'O'},
    };
    for (const Case& c : cases) {
        RasterImage image;
        MakeCanvas(image, 40, 40);
        EXPECT_EQ(Draw(image, 20, 20, c.radius, 33.0, c.roll), 1);
        EXPECT_EQ(CountPainted(image), c.painted) << "radius " << c.radius;
        EXPECT_EQ(PaintAt(image, 20, 20), c.centre) << "radius " << c.radius;
        // Exactly the pixels with dx^2 + dy^2 <= radius^2: one pixel in the rows dy = +-radius.
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                EXPECT_EQ(PaintAt(image, x, y) != '.',
                          (x - 20) * (x - 20) + (y - 20) * (y - 20) <= c.radius * c.radius &&
                              c.radius >= 0)
                    << x - 20 << ", " << y - 20 << " radius " << c.radius;
    }
}

TEST_P(BallDrawing, BandsAcrossTheMiddleRowAtHeadingZero) {
    RasterImage image;
    MakeCanvas(image, 40, 40);
    Draw(image, 20, 20, 14, 0.0, 0.0);
    std::string frontToBack;
    for (int dx = 14; dx >= -14; --dx) frontToBack += PaintAt(image, 20 + dx, 20);
    EXPECT_EQ(frontToBack, "EEOOOOOEEEEEEEOOOOOOOOEEEEEOO");
    // The poles: along 0, theta exactly 90, stripe 3.
    EXPECT_EQ(PaintAt(image, 20, 6), 'O');
    EXPECT_EQ(PaintAt(image, 20, 34), 'O');
}

TEST_P(BallDrawing, CentreStripeTruncatesTowardZero) {
    // At the centre theta is exactly 90, so (90 + roll) / 30 is exact; several of these sit
    // right on a band boundary.
    struct Case {
        double roll;
        char centre;
    };
    const Case cases[] = {
        {0.0, 'O'},     // 3
        {30.0, 'E'},    // 4
        {75.0, 'O'},    // 5.5 -> 5
        {-60.0, 'O'},   // 1
        {-95.0, 'E'},   // -1/6 -> 0
        {-100.0, 'E'},  // -1/3 -> 0
        {-120.0, 'O'},  // -1
        {-135.0, 'O'},  // -1.5 -> -1
        {-150.0, 'E'},  // -2
        {-180.0, 'O'},  // -3
    };
    const double headings[] = {0.0, 37.0, 90.0, 200.0};
    for (const Case& c : cases) {
        for (double heading : headings) {
            RasterImage image;
            MakeCanvas(image, 31, 31);
            Draw(image, 15, 15, 14, heading, c.roll);
            EXPECT_EQ(PaintAt(image, 15, 15), c.centre)
                << "roll " << c.roll << " heading " << heading;
        }
    }
}

TEST_P(BallDrawing, ClipsAtCanvasEdges) {
    // The whole ball, to compare the clipped drawings against.
    RasterImage whole;
    MakeCanvas(whole, 40, 40);
    Draw(whole, 20, 20, 14, 123.0, 45.0);

    struct Case {
        int32_t x, y;
        int painted;  // -1: not counted, only compared
    };
    const Case cases[] = {
        {0, 0, -1},  {9, 11, -1}, {-13, 5, -1}, {22, 6, -1}, {4, -13, -1}, {4, 24, -1},
        {-14, 5, 1}, {-15, 5, 0}, {23, 5, 1},   {24, 5, 0},  {5, -14, 1},  {5, -15, 0},
        {5, 25, 1},  {5, 26, 0},  {4, 6, 120},  // the whole canvas inside the disc
    };
    for (const Case& c : cases) {
        RasterImage image;
        MakeCanvas(image, 10, 12);  // 30 bytes of pixels in a 32-byte row
        EXPECT_EQ(Draw(image, c.x, c.y, 14, 123.0, 45.0), 1);
        int painted = 0;
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 10; ++x) {
                const int dx = x - c.x;
                const int dy = y - c.y;
                const char expected =
                    dx * dx + dy * dy <= 196 ? PaintAt(whole, 20 + dx, 20 + dy) : '.';
                EXPECT_EQ(PaintAt(image, x, y), expected) << "centre " << c.x << ", " << c.y;
                painted += expected != '.';
            }
        }
        if (c.painted >= 0) {
            EXPECT_EQ(painted, c.painted) << "centre " << c.x << ", " << c.y;
        }
        EXPECT_TRUE(RowEndsAreZero(image)) << "centre " << c.x << ", " << c.y;
    }
}

TEST_P(BallDrawing, DrawsNothingWhereNothingIsDefinedOrVisible) {
    struct Case {
        int32_t x, y, radius;
        double heading, roll, width;
    };
    const Case cases[] = {
        {20, 20, 14, 0.0, 0.0, 0.0},
        {20, 20, 14, 0.0, 0.0, -0.0},
        {20, 20, 14, 0.0, 0.0, -30.0},
        {20, 20, 14, 0.0, 0.0, NaN},
        {20, 20, 14, 0.0, 0.0, Inf},
        {20, 20, 14, 0.0, 0.0, -Inf},
        {20, 20, 14, NaN, 0.0, 30.0},
        {20, 20, 14, Inf, 0.0, 30.0},
        {20, 20, 14, -Inf, 0.0, 30.0},
        {20, 20, 14, 1e308, 0.0, 30.0},  // in radians it overflows to infinity
        {20, 20, 14, 0.0, NaN, 30.0},
        {20, 20, 14, 0.0, Inf, 30.0},
        {20, 20, 14, 0.0, -Inf, 30.0},
        // Radii whose square does not fit in int32.
        {20, 20, 46341, 0.0, 0.0, 30.0},
        {20, 20, INT32_MAX, 0.0, 0.0, 30.0},
        {20, 20, -46341, 0.0, 0.0, 30.0},
        // Centres far off the canvas, some where centre + offset would leave int32.
        {INT32_MAX, INT32_MAX, 14, 10.0, 20.0, 30.0},
        {INT32_MIN, INT32_MIN, 14, 10.0, 20.0, 30.0},
        {INT32_MAX, 5, 14, 10.0, 20.0, 30.0},
        {5, INT32_MIN, 14, 10.0, 20.0, 30.0},
        {1000000, 5, 14, 10.0, 20.0, 30.0},
    };
    for (const Case& c : cases) {
        RasterImage image;
        MakeCanvas(image, 40, 40);
        EXPECT_EQ(Draw(image, c.x, c.y, c.radius, c.heading, c.roll, c.width), 1);
        EXPECT_EQ(CountPainted(image), 0)
            << "centre " << c.x << ", " << c.y << " radius " << c.radius << " heading " << c.heading
            << " roll " << c.roll << " width " << c.width;
    }
}

// (theta + roll) / width of one pixel, from the per-pixel formulas written out here afresh.
double StripeValueAt(int dx, int dy, int radius, double heading, double roll, double width) {
    const double h = Pi * heading * 0.005555555555555556;
    const double c = std::cos(-h);
    const double s = std::sin(-h);
    const double along = dx * c - dy * s;
    const double across = dx * s + dy * c;
    const double m = std::sqrt(std::max(0.0, radius * radius - across * across)) + 0.001;
    const double theta = std::acos(std::clamp(along / m, -1.0, 1.0)) * 180.0 / Pi;
    return (theta + roll) / width;
}

TEST(StripedBallAgreement, FastMatchesReferenceAwayFromBandBoundaries) {
    const double headings[] = {0.0,  0.5,   12.0,  30.0,  45.0,   89.99,
                               90.0, 180.0, 200.5, 270.0, 1234.5, -77.0};
    const double rolls[] = {0.0,     8.0,        30.0,  45.0,  90.0,   100.0,
                            179.9,   360.0,      -8.0,  -30.0, -100.0, -150.0,
                            1e4 + 4, 123456.789, 2.5e6, 7e7,   1e12,   -1e300};
    struct Stripes {
        int32_t radius;
        double width;
    };
    // 30 is the scene's; 25 and 180/7 need every band slot, 22.5 with a roll and 20 need more
    // than there are, and 0.5 never fits. With 1e-300, or a roll of -1e300, stripe values lie
    // far beyond int64.
    const Stripes stripes[] = {{14, 30.0}, {14, 25.0}, {14, 180.0 / 7}, {14, 22.5},
                               {14, 20.0}, {5, 30.0},  {13, 45.0},      {20, 30.0},
                               {1, 30.0},  {14, 0.5},  {14, 1000.0},    {14, 1e-300}};
    // Inside, straddling each edge and corner of a 48 x 40 canvas.
    const int32_t centres[][2] = {{24, 20}, {3, 20},  {45, 20}, {24, 2}, {24, 38},
                                  {-5, -6}, {50, 44}, {20, 30}, {30, 10}};
    int pictures = 0;
    for (const Stripes& st : stripes) {
        for (double heading : headings) {
            for (double roll : rolls) {
                const int32_t* centre = centres[pictures++ % 9];
                RasterImage fast;
                RasterImage reference;
                MakeCanvas(fast, 48, 40);
                MakeCanvas(reference, 48, 40);
                DrawStripedBall(fast, centre[0], centre[1], st.radius, heading, roll, st.width,
                                EvenColour, OddColour);
                DrawStripedBallReference(reference, centre[0], centre[1], st.radius, heading, roll,
                                         st.width, EvenColour, OddColour);
                for (int y = 0; y < 40; ++y) {
                    for (int x = 0; x < 48; ++x) {
                        const char want = PaintAt(reference, x, y);
                        const char got = PaintAt(fast, x, y);
                        if (got == want) continue;
                        const int dx = x - centre[0];
                        const int dy = y - centre[1];
                        const double value =
                            StripeValueAt(dx, dy, st.radius, heading, roll, st.width);
                        const bool onBoundary = want != '.' && got != '.' &&
                                                std::fabs(value - std::nearbyint(value)) < 1e-9;
                        const bool centrePixel = dx == 0 && dy == 0;
                        EXPECT_TRUE(onBoundary && !centrePixel)
                            << "offset " << dx << ", " << dy << " radius " << st.radius
                            << " heading " << heading << " roll " << roll << " width " << st.width
                            << ": " << got << " instead of " << want << ", stripe value " << value;
                    }
                }
            }
        }
    }
}

TEST(StripedBallAgreement, OtherDepthsGoThroughSetPixel) {
    // At 8 bits every pixel is a palette search; at depths without pixel writes nothing changes.
    const int32_t depths[] = {8, 1, 3, 4, 16, 48};
    for (int32_t depth : depths) {
        RasterImage fast;
        RasterImage reference;
        ASSERT_EQ(fast.Create(23, 17, depth), 1);
        ASSERT_EQ(reference.Create(23, 17, depth), 1);
        DrawStripedBall(fast, 10, 8, 14, 70.0, 5.0, 30.0, EvenColour, OddColour);
        DrawStripedBallReference(reference, 10, 8, 14, 70.0, 5.0, 30.0, EvenColour, OddColour);
        const size_t bytes = static_cast<size_t>(fast.Stride()) * 17;
        const uint8_t* a = fast.RowPointer(16);
        const uint8_t* b = reference.RowPointer(16);
        EXPECT_EQ(std::memcmp(a, b, bytes), 0) << "depth " << depth;
        const int nonZero =
            static_cast<int>(std::count_if(a, a + bytes, [](uint8_t v) { return v != 0; }));
        if (depth == 8) {
            EXPECT_EQ(fast.RowPointer(8)[10], fast.NearestPaletteIndex(240, 0, 0));
        } else {
            EXPECT_EQ(nonZero, 0) << "depth " << depth;
        }
    }
    // A canvas without pixels is harmless.
    RasterImage empty;
    EXPECT_EQ(DrawStripedBall(empty, 0, 0, 14, 0.0, 0.0, 30.0, EvenColour, OddColour), 1);
    EXPECT_EQ(DrawStripedBallReference(empty, 0, 0, 14, 0.0, 0.0, 30.0, EvenColour, OddColour), 1);
}

}  // namespace
