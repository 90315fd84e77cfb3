#include "scene/scene_start.h"

#include "scene/ball_table.h"
#include "scene/random.h"

namespace {

// Edge lines count as on the canvas.
bool IsOffAxis(double value, double size) { return value < 0.0 || value > size; }

}  // namespace

double SpreadAboutCentre(double size) { return ((Random01() - 0.5) * size) * 2.5 + size * 0.5; }

uint32_t ClampBallCount(uint32_t stored) {
    // The store hands on any 32-bit value; a negative one would read as huge.
    if (stored >= 0x80000000u) return 0;
    if (stored > static_cast<uint32_t>(MaxBalls)) return MaxBalls;
    return stored;
}

void PlaceBalls(int32_t width, int32_t height) {
    // No point lies off a canvas without area on both axes, so the draw would never end.
    if (width < 1 || height < 1) {
        BallCount = 0;
        return;
    }
    const double w = width;
    const double h = height;
    const uint32_t count = BallCount < static_cast<uint32_t>(MaxBalls) ? BallCount : MaxBalls;
    for (uint32_t i = 0; i < count; ++i) {
        // Beyond one of the four corners: off the canvas on both axes at once.
        do {
            Balls.posX[i] = SpreadAboutCentre(w);
            Balls.posY[i] = SpreadAboutCentre(h);
        } while (!IsOffAxis(Balls.posX[i], w) || !IsOffAxis(Balls.posY[i], h));
        Balls.radius[i] = BallRadius;
        Balls.steerCountdown[i] = static_cast<int32_t>(Random01() * 10 + 3);
        Balls.targetX[i] = Random01() * w;
        Balls.targetY[i] = Random01() * h;
        Balls.heading[i] = Random01() * 360;
        Balls.rollPhase[i] = 0;
        Balls.speed[i] = Random01() * 5 + 3;
    }
}
