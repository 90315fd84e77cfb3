#pragma once

#include <cstdint>

class RasterImage;

// Draws a disc of the given radius around (centreX, centreY): the top view of a sphere with
// bands of stripeWidthDegrees rolling along headingDegrees. Even bands take evenColour, odd
// bands oddColour (0x00BBGGRR). Pixels off the canvas are skipped. Always returns 1.
int DrawStripedBall(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius,
                    double headingDegrees, double rollDegrees, double stripeWidthDegrees,
                    uint32_t evenColour, uint32_t oddColour);
