#include "scene/striped_ball.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster/raster_image.h"
#include "scene/geometry.h"
#include "scene/stripe_bands.h"
#include "scene/stripe_value.h"

// The frame step draws every ball every tick, so this rasteriser avoids the per-pixel cosine,
// sine and arc cosine: the rotation is taken once per ball, and a pixel's band is found by
// comparing it with the cosines of the few band boundaries (see stripe_bands.h). The rotated
// offsets are the very products the per-pixel formulas form, so only a pixel whose stripe value
// lies within rounding of a whole number can come out in the other colour.

namespace {

// Largest w with w * w <= n, for 0 <= n < 2^31: the half-width of a disc row.
int32_t HalfRowWidth(int32_t n) {
    int64_t w = static_cast<int64_t>(std::sqrt(static_cast<double>(n)));
    while (w * w > n) --w;
    while ((w + 1) * (w + 1) <= n) ++w;
    return static_cast<int32_t>(w);
}

// Parity from the tabulated bands.
struct BandStripes {
    int32_t rr;
    const StripeBands& bands;

    bool Odd(double along, double across) const {
        if (along == 0.0) return bands.oddAtQuarter;
        double chordSquared = static_cast<double>(rr) - across * across;
        if (chordSquared < 0.0) chordSquared = 0.0;
        return bands.odd[bands.BandOf(along, std::sqrt(chordSquared) + 0.001)];
    }
};

// Parity from the arc cosine, for stripes too narrow or rolls too far run to tabulate.
struct PerPixelStripes {
    int32_t rr;
    double rollDegrees;
    double stripeWidthDegrees;

    bool Odd(double along, double across) const {
        return StripeIsOdd(StripeValue(along, across, rr, rollDegrees, stripeWidthDegrees));
    }
};

struct Colour {
    int32_t red;
    int32_t green;
    int32_t blue;
};

// 24-bit canvas: rows and columns clipped up front, bytes written in place.
template <class Stripes>
void PaintDirect(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius, double c,
                 double s, const Stripes& stripes, const Colour colours[2]) {
    const int32_t rr = radius * radius;
    const int64_t width = canvas.Width();
    const int64_t height = canvas.Height();
    for (int32_t dy = -radius; dy <= radius; ++dy) {
        const int64_t y = int64_t{centreY} + dy;
        if (y < 0 || y >= height) continue;
        uint8_t* row = canvas.RowPointer(static_cast<int32_t>(y));
        if (row == nullptr) continue;
        const int32_t halfWidth = HalfRowWidth(rr - dy * dy);
        const int64_t first = std::max<int64_t>(-halfWidth, -int64_t{centreX});
        const int64_t last = std::min<int64_t>(halfWidth, width - 1 - centreX);
        if (first > last) continue;
        const double rowS = dy * s;
        const double rowC = dy * c;
        uint8_t* pixel = row + 3 * (centreX + first);
        double column = static_cast<double>(first);
        for (int64_t dx = first; dx <= last; ++dx, column += 1.0, pixel += 3) {
            const Colour& colour = colours[stripes.Odd(column * c - rowS, column * s + rowC)];
            pixel[0] = static_cast<uint8_t>(colour.blue);
            pixel[1] = static_cast<uint8_t>(colour.green);
            pixel[2] = static_cast<uint8_t>(colour.red);
        }
    }
}

// Any other canvas: every disc pixel goes through SetPixel, which decides what it can store.
template <class Stripes>
void PaintThroughSetPixel(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius,
                          double c, double s, const Stripes& stripes, const Colour colours[2]) {
    const int32_t rr = radius * radius;
    for (int32_t dy = -radius; dy <= radius; ++dy) {
        const int64_t y = int64_t{centreY} + dy;
        if (y < INT32_MIN || y > INT32_MAX) continue;
        const int32_t halfWidth = HalfRowWidth(rr - dy * dy);
        for (int32_t dx = -halfWidth; dx <= halfWidth; ++dx) {
            const int64_t x = int64_t{centreX} + dx;
            if (x < INT32_MIN || x > INT32_MAX) continue;
            const double column = static_cast<double>(dx);
            const Colour& colour = colours[stripes.Odd(column * c - dy * s, column * s + dy * c)];
            canvas.SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), colour.red,
                            colour.green, colour.blue);
        }
    }
}

template <class Stripes>
void Paint(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius, double c,
           double s, const Stripes& stripes, const Colour colours[2]) {
    if (canvas.Depth() == 24)
        PaintDirect(canvas, centreX, centreY, radius, c, s, stripes, colours);
    else
        PaintThroughSetPixel(canvas, centreX, centreY, radius, c, s, stripes, colours);
}

}  // namespace

int DrawStripedBall(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius,
                    double headingDegrees, double rollDegrees, double stripeWidthDegrees,
                    uint32_t evenColour, uint32_t oddColour) {
    const double h = DegToRad(headingDegrees);
    if (!StripedBallDrawable(radius, h, rollDegrees, stripeWidthDegrees)) return 1;

    // The rotation by -h, taken exactly as the per-pixel formulas take it.
    const double c = std::cos(-h);
    const double s = std::sin(-h);
    const int32_t rr = radius * radius;
    Colour colours[2];
    SplitColor(evenColour, &colours[0].red, &colours[0].green, &colours[0].blue);
    SplitColor(oddColour, &colours[1].red, &colours[1].green, &colours[1].blue);

    StripeBands bands;
    if (TabulateStripeBands(rollDegrees, stripeWidthDegrees, &bands))
        Paint(canvas, centreX, centreY, radius, c, s, BandStripes{rr, bands}, colours);
    else
        Paint(canvas, centreX, centreY, radius, c, s,
              PerPixelStripes{rr, rollDegrees, stripeWidthDegrees}, colours);
    return 1;
}
