#pragma once

#include <cstdint>

class RasterImage;
struct ChangedArea;
struct Scene;

// One tick of the scene: draws, collides, steers, moves and rolls every ball in index order.
// It changes only what changes: it clears what the previous tick drew and draws this tick's
// balls, leaving the canvas byte for byte as a full clear and redraw would. The whole canvas is
// cleared when the scene cannot know what it holds (first tick on it, a re-created canvas,
// ForgetCanvas). Balls wholly off the canvas are not drawn, but move and collide all the same.
// When `changed` is given it receives the changed area.
void StepScene(Scene* scene, RasterImage& canvas, ChangedArea* changed);

// The signature of DrawStripedBall: the rasteriser a tick draws with.
using BallPainter = int (*)(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius,
                            double headingDegrees, double rollDegrees, double stripeWidthDegrees,
                            uint32_t evenColour, uint32_t oddColour);

// The same tick as first designed: the whole canvas cleared, every ball drawn with `paint`, on
// the canvas or not. What StepScene must equal; also the measure of what it saves.
void StepSceneFully(Scene* scene, RasterImage& canvas, BallPainter paint);
