#include <cstdint>

#include "raster/raster_image.h"
#include "reference/straightforward.h"
#include "scene/geometry.h"
#include "scene/stripe_value.h"

int DrawStripedBallReference(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius,
                             double headingDegrees, double rollDegrees, double stripeWidthDegrees,
                             uint32_t evenColour, uint32_t oddColour) {
    const double h = DegToRad(headingDegrees);
    if (!StripedBallDrawable(radius, h, rollDegrees, stripeWidthDegrees)) return 1;
    const int32_t rr = radius * radius;
    for (int32_t dy = -radius; dy <= radius; ++dy) {
        for (int32_t dx = -radius; dx <= radius; ++dx) {
            // In 64 bits: at the largest radii the two squares together pass int32.
            if (int64_t{dx} * dx + int64_t{dy} * dy > rr) continue;
            double along = 0.0;
            double across = 0.0;
            RotateByAngle(0.0, 0.0, dx, dy, -h, &along, &across);
            const double value = StripeValue(along, across, rr, rollDegrees, stripeWidthDegrees);
            int32_t red = 0;
            int32_t green = 0;
            int32_t blue = 0;
            SplitColor(StripeIsOdd(value) ? oddColour : evenColour, &red, &green, &blue);
            // A centre near the ends of int32 must not wrap a pixel onto the canvas.
            const int64_t x = int64_t{centreX} + dx;
            const int64_t y = int64_t{centreY} + dy;
            if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) continue;
            canvas.SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), red, green, blue);
        }
    }
    return 1;
}
