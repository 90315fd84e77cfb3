#pragma once

#include <cstdint>

class RasterImage;
struct Scene;

// The straightforward forms of the drawing and the tick, kept to measure and check the fast
// ones against; the product does not link them.

// DrawStripedBall with every pixel's stripe computed by the plain per-pixel formulas (rotation,
// half-chord, arc cosine).
int DrawStripedBallReference(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius,
                             double headingDegrees, double rollDegrees, double stripeWidthDegrees,
                             uint32_t evenColour, uint32_t oddColour);

// One tick as first designed: the whole canvas cleared and every ball drawn with
// DrawStripedBallReference, on the canvas or not.
void StepSceneReference(Scene& scene, RasterImage& canvas);
