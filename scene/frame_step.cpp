#include "scene/frame_step.h"

#include <cmath>

#include "raster/raster_image.h"
#include "scene/ball_table.h"
#include "scene/geometry.h"
#include "scene/random.h"
#include "scene/scene_start.h"
#include "scene/striped_ball.h"

namespace {

using DrawFunction = int (*)(RasterImage&, int32_t, int32_t, int32_t, double, double, double,
                             uint32_t, uint32_t);

// Truncation toward zero. Values beyond any canvas are held at +-2^30 instead of overflowing
// the conversion; such a ball is off every canvas either way.
int32_t Truncate(double value) {
    constexpr double limit = 1073741824.0;
    if (value >= limit) return static_cast<int32_t>(limit);
    if (value <= -limit) return -static_cast<int32_t>(limit);
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(value);
}

// Turns ball i back at its first contact with another ball. Balls already handled this tick are
// tested where they now stand.
void TurnBackOnContact(RasterImage& canvas, DrawFunction draw, uint32_t i, uint32_t count) {
    for (uint32_t j = 0; j < count; ++j) {
        if (j == i) continue;
        const double d = Distance(Balls.posX[i], Balls.posY[i], Balls.posX[j], Balls.posY[j]);
        if (Truncate(d) >= Balls.radius[i] + CollisionMargin) continue;

        Balls.heading[i] = NormalizeDegrees(Balls.heading[i] + 180.0);
        const double radians = DegToRad(Balls.heading[i]);
        const double cx = std::cos(radians) * Balls.speed[i];
        const double cy = std::sin(radians) * Balls.speed[i];
        // The flash is drawn over the normal drawing, where the ball stood before the move.
        draw(canvas, Truncate(Balls.posX[i]), Truncate(Balls.posY[i]), Balls.radius[i],
             Balls.heading[i], Balls.rollPhase[i], StripeWidth, FlashEvenColour, FlashOddColour);
        Balls.posX[i] += cx;
        Balls.posY[i] += cy;
        return;
    }
}

// Every countdown value n >= 1 counts down, turning 12 degrees toward the target side on even n;
// at 0 the ball draws a new countdown and target instead, and does not turn.
void Steer(uint32_t i, double vx, double vy, double w, double h) {
    if (Balls.steerCountdown[i] < 1) {
        // The renewed target may lie off the canvas; it is taken as drawn.
        Balls.steerCountdown[i] = static_cast<int32_t>(Random01() * 10 + 3);
        Balls.targetX[i] = SpreadAboutCentre(w);
        Balls.targetY[i] = SpreadAboutCentre(h);
        return;
    }
    if (Balls.steerCountdown[i] % 2 == 0) {
        const double c =
            Cross(0, 0, vx, vy, Balls.targetX[i] - Balls.posX[i], Balls.targetY[i] - Balls.posY[i]);
        Balls.heading[i] = NormalizeDegrees(Balls.heading[i] + (c > 0 ? TurnStep : -TurnStep));
    }
    Balls.steerCountdown[i] -= 1;
}

void Step(RasterImage& canvas, int32_t width, int32_t height, DrawFunction draw) {
    canvas.FillRectangle(0, 0, width - 1, height - 1, 0, 0, 0);

    const double w = width;
    const double h = height;
    // The caller keeps BallCount within the table; never read past it regardless.
    const uint32_t count = BallCount < static_cast<uint32_t>(MaxBalls) ? BallCount : MaxBalls;
    for (uint32_t i = 0; i < count; ++i) {
        draw(canvas, Truncate(Balls.posX[i]), Truncate(Balls.posY[i]), Balls.radius[i],
             Balls.heading[i], Balls.rollPhase[i], StripeWidth, NormalEvenColour, NormalOddColour);
        TurnBackOnContact(canvas, draw, i, count);

        // From the heading as it stands after a turn-back; a steering turn waits a tick.
        const double radians = DegToRad(Balls.heading[i]);
        const double vx = std::cos(radians) * Balls.speed[i];
        const double vy = std::sin(radians) * Balls.speed[i];
        Steer(i, vx, vy, w, h);
        Balls.posX[i] += vx;
        Balls.posY[i] += vy;
        Balls.rollPhase[i] += RollStep;
    }
}

}  // namespace

void StepScene(RasterImage& canvas, int32_t width, int32_t height) {
    Step(canvas, width, height, DrawStripedBall);
}

void StepSceneReference(RasterImage& canvas, int32_t width, int32_t height) {
    Step(canvas, width, height, DrawStripedBallReference);
}
