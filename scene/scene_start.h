#pragma once

#include <cstdint>

struct Scene;

// Brings a stored ball count into the table's range: above MaxBalls gives MaxBalls, and a value
// that is negative as a signed number gives 0.
uint32_t ClampBallCount(uint32_t stored);

// Places balls 0 to ballCount - 1 beyond the corners of the scene's canvas, each with its first
// target, countdown, heading and speed, drawing from the scene's generator. A canvas without
// area (width or height below 1) leaves no place to start from: ballCount becomes 0.
void PlaceBalls(Scene* scene);

// One coordinate drawn from the generator, spread TargetSpread times `size` about the middle of
// [0, size]: start points and renewed targets.
double SpreadAboutCentre(uint32_t* randomState, double size);

// A steering countdown drawn from the generator: 3 to 12.
int32_t DrawCountdown(uint32_t* randomState);
