#pragma once

#include <cmath>
#include <cstdint>

#include "scene/geometry.h"

// The per-pixel stripe arithmetic shared by both rasterisers.

// The largest radius whose square fits in int32.
constexpr int32_t MaxStripedBallRadius = 46340;

// Whether a ball with these parameters has a defined drawing. A non-finite angle or a stripe
// width that is not positive would make every stripe value NaN or infinite.
inline bool StripedBallDrawable(int32_t radius, double headingRadians, double rollDegrees,
                                double stripeWidthDegrees) {
    return radius >= 0 && radius <= MaxStripedBallRadius && std::isfinite(headingRadians) &&
           std::isfinite(rollDegrees) && std::isfinite(stripeWidthDegrees) &&
           stripeWidthDegrees > 0.0;
}

// (theta + roll) / width for a pixel whose offset, turned into the ball's frame, is (along,
// across): theta is the angle about the roll axis of the sphere point above the pixel, measured
// from the front rim.
inline double StripeValue(double along, double across, int32_t rr, double rollDegrees,
                          double stripeWidthDegrees) {
    double chordSquared = static_cast<double>(rr) - across * across;
    // On a rim pixel rounding can carry across a hair past the radius; the chord is then empty.
    if (chordSquared < 0.0) chordSquared = 0.0;
    const double halfChord = std::sqrt(chordSquared) + 0.001;
    double ratio = along / halfChord;
    // Only rounding at very large radii could leave the arc cosine's domain.
    if (ratio > 1.0) ratio = 1.0;
    if (ratio < -1.0) ratio = -1.0;
    const double theta = RadToDeg(std::acos(ratio));
    return (theta + rollDegrees) / stripeWidthDegrees;
}

// Whether the stripe index, the stripe value truncated toward zero, is odd. Magnitudes beyond
// int64 do not convert; every double that large is an even whole number.
inline bool StripeIsOdd(double stripeValue) {
    if (!(std::fabs(stripeValue) < 9223372036854775808.0)) return false;
    return (static_cast<int64_t>(stripeValue) & 1) != 0;
}
