#include "scene/geometry.h"

#include <cmath>

double Distance(double x1, double y1, double x2, double y2) {
    return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

double Cross(double ox, double oy, double ax, double ay, double bx, double by) {
    return (ax - ox) * (by - oy) - (bx - ox) * (ay - oy);
}

void RotateAbout(double cx, double cy, double px, double py, double c, double s, double* outX,
                 double* outY) {
    *outX = cx + ((px - cx) * c - (py - cy) * s);
    *outY = cy + ((px - cx) * s + (py - cy) * c);
}

void RotateByAngle(double cx, double cy, double px, double py, double angleRadians, double* outX,
                   double* outY) {
    RotateAbout(cx, cy, px, py, std::cos(angleRadians), std::sin(angleRadians), outX, outY);
}

double RadToDeg(double radians) { return radians * 180.0 / Pi; }

double DegToRad(double degrees) { return Pi * degrees * 0.005555555555555556; }

namespace {
// Beyond this many turns the one-turn-at-a-time fold would take long, and where adding 360 no
// longer changes the value it would never end; such angles are first reduced exactly.
constexpr double FoldTurnLimit = 360.0 * 1024.0;
}  // namespace

double NormalizeDegrees(double degrees) {
    if (!std::isfinite(degrees)) return 0.0;
    if (std::fabs(degrees) >= FoldTurnLimit) degrees = std::fmod(degrees, 360.0);
    // Adding first and subtracting second: a tiny negative angle whose sum with 360 rounds to
    // 360 then comes out as 0, never as 360.
    while (degrees < 0.0) degrees += 360.0;
    while (degrees >= 360.0) degrees -= 360.0;
    return degrees;
}

void SplitColor(uint32_t colour, int32_t* red, int32_t* green, int32_t* blue) {
    *red = static_cast<int32_t>(colour & 0xFFu);
    *green = static_cast<int32_t>((colour >> 8) & 0xFFu);
    *blue = static_cast<int32_t>((colour >> 16) & 0xFFu);
}
