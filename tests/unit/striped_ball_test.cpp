#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "raster/raster_image.h"
#include "reference/straightforward.h"
#include "scene/geometry.h"
#include "scene/stripe_value.h"
#include "scene/striped_ball.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr uint32_t Even = 0x00C8C8FFu, Odd = 0x000000F0u;

// What each pixel shows, top row first: '.' the background (red 1, green 2, blue 3), 'E' even
// stripe, 'O' odd stripe, '?' else; '!' after a row whose end bytes are not all 0.
std::string Paint(const RasterImage& image) {
    std::string paint;
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t *row = image.RowPointer(y), *end = row + 3 * image.Width();
        for (const uint8_t* p = row; p < end; p += 3) {
            const int bgr = p[0] << 16 | p[1] << 8 | p[2];
            paint += bgr == 0x030201 ? '.' : bgr == 0xC8C8FF ? 'E' : bgr == 0xF0 ? 'O' : '?';
        }
        if (std::any_of(end, row + image.Stride(), [](uint8_t b) { return b != 0; })) paint += '!';
    }
    return paint;
}

RasterImage& Blank(RasterImage& image, int width, int height) {
    EXPECT_EQ(image.Create(width, height, 24), 1);
    image.FillRectangle(0, 0, width - 1, height - 1, 1, 2, 3);
    return image;
}

class BallDrawing : public ::testing::TestWithParam<decltype(&DrawStripedBall)> {
  protected:
    // What a 40 x 40 canvas shows after one drawing.
    std::string Draw(int32_t x, int32_t y, int32_t radius, double heading, double roll,
                     double width = 30.0) {
        RasterImage image;
        GetParam()(Blank(image, 40, 40), x, y, radius, heading, roll, width, Even, Odd);
        return Paint(image);
    }
};

INSTANTIATE_TEST_SUITE_P(FastAndReference, BallDrawing,
                         ::testing::Values(DrawStripedBall, DrawStripedBallReference));

TEST_P(BallDrawing, PaintsTheInclusiveDiscWithTheCentreStripeTruncatedTowardZero) {
    // At the centre theta is exactly 90, so the stripe is (90 + roll) / 30 truncated; some of
    // these rolls put it right on a band boundary, and from -120 to -60 it is 0 (two widths).
    const struct {
        int32_t radius;
        double roll;
        int painted;
        char centre;
    } cases[] = {{-1, 0, 0, '.'},      {0, 0, 1, 'O'},       {0, 30, 1, 'E'},
                 {1, 0, 5, 'O'},       {14, 17, 613, 'O'},   {14, 75, 613, 'O'},
                 {14, -95, 613, 'E'},  {14, -100, 613, 'E'}, {14, -120, 613, 'O'},
                 {14, -135, 613, 'O'}, {14, -150, 613, 'E'}, {14, 30, 613, 'E'}};
    for (const auto& c : cases) {
        const std::string paint = Draw(20, 20, c.radius, 33.0, c.roll);
        EXPECT_EQ(paint[20 * 40 + 20], c.centre) << c.radius << " roll " << c.roll;
        EXPECT_EQ(1600 - std::count(paint.begin(), paint.end(), '.'), c.painted) << c.radius;
    }
}

TEST_P(BallDrawing, BandsAtHeadingZero) {
    const std::string paint = Draw(20, 20, 14, 0.0, 0.0);
    std::string frontToBack;
    for (int dx = 14; dx >= -14; --dx) frontToBack += paint[20 * 40 + 20 + dx];
    EXPECT_EQ(frontToBack, "EEOOOOOEEEEEEEOOOOOOOOEEEEEOO");
    // The poles (along 0, theta exactly 90, stripe 3), alone in the top and bottom rows.
    const std::string poleRow = std::string(20, '.') + 'O' + std::string(19, '.');
    EXPECT_EQ(paint.substr(6 * 40, 40), poleRow);
    EXPECT_EQ(paint.substr(34 * 40, 40), poleRow);
}

TEST_P(BallDrawing, DrawsNothingWhereNothingIsDefinedOrVisible) {
    // Heading, roll and stripe width: non-finite angles (1e308 degrees are infinite in radians)
    // and widths that are not positive.
    const double angles[][3] = {{0, 0, 0},    {0, 0, -0.0}, {0, 0, -30},   {0, 0, NaN},
                                {0, 0, Inf},  {NaN, 0, 30}, {-Inf, 0, 30}, {1e308, 0, 30},
                                {0, NaN, 30}, {0, -Inf, 30}};
    for (const auto& a : angles)
        EXPECT_EQ(Draw(20, 20, 14, a[0], a[1], a[2]), std::string(1600, '.'))
            << a[0] << a[1] << a[2];
    // Centre and radius: squares that leave 32 bits, and centres where centre + offset would.
    constexpr int32_t Max = INT32_MAX, Min = INT32_MIN;
    const int32_t discs[][3] = {{20, 20, 46341}, {20, 20, Max}, {20, 20, -46341}, {Max, Max, 14},
                                {Min, Min, 14},  {Max, 5, 14},  {5, Min, 14}};
    for (const auto& d : discs)
        EXPECT_EQ(Draw(d[0], d[1], d[2], 10, 20), std::string(1600, '.')) << d[0] << ", " << d[1];
}

// Draws one ball both ways on a blank canvas: a pixel may differ only where its stripe value lies
// within rounding of a whole number, never at the centre (and no row end may change).
void ExpectAgreement(int width, int height, int32_t x, int32_t y, int32_t radius, double heading,
                     double roll, double stripe) {
    RasterImage fast, reference;
    DrawStripedBall(Blank(fast, width, height), x, y, radius, heading, roll, stripe, Even, Odd);
    DrawStripedBallReference(Blank(reference, width, height), x, y, radius, heading, roll, stripe,
                             Even, Odd);
    const std::string want = Paint(reference), got = Paint(fast);
    ASSERT_EQ(got.size(), want.size()) << "a row end written";
    for (int p = 0; p < width * height; ++p) {
        if (got[p] == want[p]) continue;
        const int dx = p % width - x, dy = p / width - y;
        double along = 0, across = 0;  // (theta + roll) / width of the pixel
        RotateByAngle(0, 0, dx, dy, -DegToRad(heading), &along, &across);
        const double v = StripeValue(along, across, radius * radius, roll, stripe);
        EXPECT_TRUE(want[p] != '.' && got[p] != '.' && (dx != 0 || dy != 0) &&
                    std::fabs(v - std::nearbyint(v)) < 1e-9)
            << "offset " << dx << ", " << dy << " radius " << radius << " heading " << heading
            << " roll " << roll << " width " << stripe << ": " << got[p] << " instead of "
            << want[p] << ", stripe value " << v;
    }
}

TEST(StripedBallAgreement, FastMatchesReferenceAwayFromBandBoundaries) {
    const double headings[] = {0, 0.5, 12, 45, 89.99, 90, 200.5, 270, 1234.5, -77};
    const double rolls[] = {0,    8,    30,      90,    179.9, 360,  -8,
                            -100, -150, 1e4 + 4, 2.5e6, 7e7,   1e12, -1e300};
    // 30 is the scene's; 25 and 180/7 need every band slot, 22.5 with a roll and 20 need more
    // than there are, 0.5 never fits, and with 1e-300 stripe values lie far beyond int64.
    const std::pair<int32_t, double> stripes[] = {
        {14, 30}, {14, 25}, {14, 180.0 / 7}, {14, 22.5}, {14, 20},   {5, 30},
        {13, 45}, {20, 30}, {1, 30},         {14, 0.5},  {14, 1000}, {14, 1e-300}};
    // A 31 x 29 canvas (93 bytes in 96-byte rows): inside, one pixel over each edge, across
    // corners; radius 20 is clipped on every side.
    const int32_t centres[][2] = {{15, 14}, {-14, 14}, {44, 14}, {15, -14}, {15, 42},
                                  {-5, -6}, {35, 33},  {3, 14},  {28, 5}};
    int pictures = 0;
    for (const auto& st : stripes) {
        for (double heading : headings) {
            for (double roll : rolls) {
                const int32_t* centre = centres[pictures++ % 9];
                ExpectAgreement(31, 29, centre[0], centre[1], st.first, heading, roll, st.second);
            }
        }
    }
    // Large discs on a 300 x 48 canvas, whose rows pass 256 pixels: over every edge and corner.
    // Centre, radius, heading, roll and stripe width:
    const double large[][6] = {{150, 24, 150, 33, 17, 30},   {-200, 24, 300, 200.5, 90, 30},
                               {500, 30, 300, 12, -100, 30}, {150, -180, 200, 89.99, 360, 25},
                               {40, 250, 220, 270, 8, 30},   {-150, -100, 260, 45, 1e4, 45}};
    for (const auto& l : large) ExpectAgreement(300, 48, l[0], l[1], l[2], l[3], l[4], l[5]);
}

TEST(StripedBallAgreement, OtherDepthsAsSetPixelWouldPaintThem) {
    // At 8 bits each pixel takes the nearest palette entry; other depths take no pixel writes.
    for (int32_t depth : {8, 1, 4, 16, 48}) {
        RasterImage fast, reference;
        ASSERT_EQ(fast.Create(23, 17, depth) + reference.Create(23, 17, depth), 2);
        // Centres where centre + offset would leave 32 bits must not wrap onto the canvas.
        const int32_t centres[][2] = {{10, 8}, {INT32_MAX, INT32_MIN}, {INT32_MIN, 5}};
        for (const auto& c : centres) {
            DrawStripedBall(fast, c[0], c[1], 14, 70.0, 5.0, 30.0, Even, Odd);
            DrawStripedBallReference(reference, c[0], c[1], 14, 70.0, 5.0, 30.0, Even, Odd);
        }
        EXPECT_EQ(std::memcmp(fast.RowPointer(16), reference.RowPointer(16), fast.Stride() * 17), 0)
            << "depth " << depth;
        EXPECT_TRUE(depth != 8 || fast.RowPointer(8)[10] == fast.NearestPaletteIndex(240, 0, 0));
    }
    // The largest disc on a 1 x 1 canvas costs one pixel, not the disc (pixel by pixel it would
    // run for hours): the centre, in stripe 3. Without pixels, drawing is harmless.
    RasterImage tiny, empty;
    ASSERT_EQ(tiny.Create(1, 1, 8), 1);
    DrawStripedBall(tiny, 0, 0, MaxStripedBallRadius, 0.0, 5.0, 30.0, Even, Odd);
    EXPECT_EQ(tiny.RowPointer(0)[0], tiny.NearestPaletteIndex(240, 0, 0));
    DrawStripedBall(empty, 0, 0, 14, 0.0, 0.0, 30.0, Even, Odd);
}

}  // namespace
