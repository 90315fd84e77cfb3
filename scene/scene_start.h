#pragma once

#include <cstdint>

// Brings a stored ball count into the table's range: above MaxBalls gives MaxBalls, and a value
// that is negative as a signed number gives 0.
uint32_t ClampBallCount(uint32_t stored);

// Places balls 0 to BallCount - 1 beyond the corners of a width x height canvas, each with its
// first target, countdown, heading and speed, drawing from Random01. The caller has seeded the
// generator and clamped BallCount. A canvas without area (width or height below 1) leaves no
// place to start from: BallCount becomes 0.
void PlaceBalls(int32_t width, int32_t height);

// One coordinate drawn from Random01, spread two and a half times `size` about the middle of
// [0, size]: start points and renewed targets, within -0.75 size to 1.75 size.
double SpreadAboutCentre(double size);
