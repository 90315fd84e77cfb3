#include "scene/stripe_bands.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "scene/geometry.h"
#include "scene/stripe_value.h"

namespace {
// Keeps roll / width, and with it every stripe index, an exact small integer plus a remainder.
constexpr double MaxRollInWidths = 2147483648.0;
}  // namespace

bool TabulateStripeBands(double rollDegrees, double stripeWidthDegrees, StripeBands* bands) {
    if (!(std::fabs(rollDegrees) <= MaxRollInWidths * stripeWidthDegrees)) return false;

    // roll = whole * width + rest exactly, with |rest| < width, so the boundary angles
    // j * width - rest are exact to an ulp of a small number however far the roll has run.
    const double rest = std::fmod(rollDegrees, stripeWidthDegrees);
    const int64_t whole = std::llround((rollDegrees - rest) / stripeWidthDegrees);

    // The first boundary strictly in front of the rim: the smallest j with j * width - rest > 0.
    int64_t first = static_cast<int64_t>(std::floor(rest / stripeWidthDegrees)) + 1;
    while (static_cast<double>(first) * stripeWidthDegrees - rest <= 0.0) ++first;
    while (static_cast<double>(first - 1) * stripeWidthDegrees - rest > 0.0) --first;

    int count = 0;
    for (int64_t j = first;; ++j) {
        const double boundary = static_cast<double>(j) * stripeWidthDegrees - rest;
        if (boundary >= 180.0) break;
        if (count == StripeBands::MaxBoundaries) return false;
        bands->threshold[count++] = std::cos(DegToRad(boundary));
    }
    bands->count = count;
    for (int i = count; i <= StripeBands::MaxBoundaries; ++i)
        bands->threshold[i] = -std::numeric_limits<double>::infinity();

    // Band i holds the stripe values between whole + first - 1 + i and the next whole number.
    // Truncation toward zero takes the lower end for positive bands and the upper end for
    // negative ones, so the two bands either side of 0 share index 0.
    for (int i = 0; i <= StripeBands::MaxBoundaries; ++i) {
        const int64_t lower = whole + first - 1 + i;
        const int64_t index = lower >= 0 ? lower : lower + 1;
        bands->odd[i] = (index & 1) != 0;
    }
    bands->oddAtQuarter = StripeIsOdd(StripeValue(0.0, 0.0, 0, rollDegrees, stripeWidthDegrees));
    return true;
}
