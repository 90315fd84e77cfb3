#include "scene/frame_step.h"

#include <algorithm>
#include <cmath>

#include "raster/raster_image.h"
#include "scene/geometry.h"
#include "scene/random.h"
#include "scene/scene.h"
#include "scene/scene_start.h"
#include "scene/striped_ball.h"

namespace {

// Truncation toward zero. Values beyond any canvas are held at +-2^30 instead of overflowing
// the conversion; such a ball is off every canvas either way.
int32_t Truncate(double value) {
    constexpr double limit = 1073741824.0;
    if (value >= limit) return static_cast<int32_t>(limit);
    if (value <= -limit) return -static_cast<int32_t>(limit);
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(value);
}

// How a tick draws: with which rasteriser, and whether it keeps to what changed.
struct TickDrawing {
    RasterImage& canvas;
    BallPainter paint;
    bool quiet;
    Scene* scene;

    // The canvas pixels a disc covers; empty when it lies wholly off the canvas.
    PixelRect Bounds(int32_t x, int32_t y, int32_t radius) const {
        const int64_t r = std::max<int32_t>(radius, -1);
        const auto clip = [](int64_t v, int32_t size) {
            return static_cast<int32_t>(std::clamp<int64_t>(v, 0, size));
        };
        return {clip(int64_t{x} - r, canvas.Width()), clip(int64_t{y} - r, canvas.Height()),
                clip(int64_t{x} + r + 1, canvas.Width()),
                clip(int64_t{y} + r + 1, canvas.Height())};
    }

    // A flash lies exactly on the ball's normal drawing, whose rectangle is recorded already.
    void Ball(uint32_t i, bool flash) const {
        const BallTable& b = scene->balls;
        const int32_t x = Truncate(b.posX[i]);
        const int32_t y = Truncate(b.posY[i]);
        if (quiet) {
            const PixelRect bounds = Bounds(x, y, b.radius[i]);
            if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return;
            if (!flash) scene->drawn[i] = bounds;
        }
        paint(canvas, x, y, b.radius[i], b.heading[i], b.rollPhase[i], StripeWidth,
              flash ? FlashEvenColour : NormalEvenColour, flash ? FlashOddColour : NormalOddColour);
    }
};

// Turns ball i back at its first contact with another ball. Balls already handled this tick are
// tested where they now stand.
void TurnBackOnContact(Scene* scene, const TickDrawing& draw, uint32_t i) {
    BallTable& b = scene->balls;
    for (uint32_t j = 0; j < scene->ballCount; ++j) {
        if (j == i) continue;
        const double d = Distance(b.posX[i], b.posY[i], b.posX[j], b.posY[j]);
        // Widened: a radius near the top of its range must not overflow the margin.
        if (Truncate(d) >= int64_t{b.radius[i]} + CollisionMargin) continue;

        b.heading[i] = NormalizeDegrees(b.heading[i] + 180.0);
        const double radians = DegToRad(b.heading[i]);
        const double cx = std::cos(radians) * b.speed[i];
        const double cy = std::sin(radians) * b.speed[i];
        // The flash is drawn over the normal drawing, where the ball stood before the move.
        draw.Ball(i, true);
        b.posX[i] += cx;
        b.posY[i] += cy;
        return;
    }
}

// Every countdown value n >= 1 counts down, turning 12 degrees toward the target side on even n;
// at 0 the ball draws a new countdown and target instead, and does not turn.
void Steer(Scene* scene, uint32_t i, double vx, double vy) {
    BallTable& b = scene->balls;
    if (b.steerCountdown[i] < 1) {
        // The renewed target may lie off the canvas; it is taken as drawn.
        b.steerCountdown[i] = DrawCountdown(&scene->randomState);
        b.targetX[i] = SpreadAboutCentre(&scene->randomState, scene->width);
        b.targetY[i] = SpreadAboutCentre(&scene->randomState, scene->height);
        return;
    }
    if (b.steerCountdown[i] % 2 == 0) {
        const double c = Cross(0, 0, vx, vy, b.targetX[i] - b.posX[i], b.targetY[i] - b.posY[i]);
        b.heading[i] = NormalizeDegrees(b.heading[i] + (c > 0 ? TurnStep : -TurnStep));
    }
    b.steerCountdown[i] -= 1;
}

// Clears what the last tick drew, or the whole canvas when its contents are unknown; hands back
// the rectangles cleared, by ball.
void Clear(Scene* scene, RasterImage& canvas, bool quiet, ChangedArea* changed,
           PixelRect cleared[MaxBalls]) {
    const bool known =
        quiet && scene->drawnCanvas == &canvas && scene->drawnGeneration == canvas.Generation();
    for (int i = 0; i < MaxBalls; ++i) {
        const PixelRect& r = scene->drawn[i];
        cleared[i] = known ? r : PixelRect{};
        if (known && r.right > r.left && r.bottom > r.top)
            canvas.FillRectangle(r.left, r.top, r.right - 1, r.bottom - 1, 0, 0, 0);
        scene->drawn[i] = {};
    }
    if (!known) {
        // All the canvas holds, whatever size the scene was started with.
        canvas.FillRectangle(0, 0, canvas.Width() - 1, canvas.Height() - 1, 0, 0, 0);
        changed->whole = true;
    }
    scene->drawnCanvas = &canvas;
    scene->drawnGeneration = canvas.Generation();
}

void Step(Scene* scene, RasterImage& canvas, BallPainter paint, bool quiet, ChangedArea* changed) {
    PixelRect cleared[MaxBalls];
    Clear(scene, canvas, quiet, changed, cleared);
    // Guarded here as well: nothing may read past the table.
    scene->ballCount = std::min<uint32_t>(scene->ballCount, MaxBalls);
    const TickDrawing draw{canvas, paint, quiet, scene};
    BallTable& b = scene->balls;
    for (uint32_t i = 0; i < scene->ballCount; ++i) {
        draw.Ball(i, false);
        TurnBackOnContact(scene, draw, i);
        // A ball moves a few pixels a tick: its last and its new drawing are mostly one area.
        AddChangedPair(changed, cleared[i], scene->drawn[i]);

        // From the heading as it stands after a turn-back; a steering turn waits a tick.
        const double radians = DegToRad(b.heading[i]);
        const double vx = std::cos(radians) * b.speed[i];
        const double vy = std::sin(radians) * b.speed[i];
        Steer(scene, i, vx, vy);
        b.posX[i] += vx;
        b.posY[i] += vy;
        b.rollPhase[i] += RollStep;
    }
    for (uint32_t i = scene->ballCount; i < static_cast<uint32_t>(MaxBalls); ++i)
        AddChangedRect(changed, cleared[i]);
    if (!quiet) ForgetCanvas(scene);
    MergeChangedRects(changed);
}

}  // namespace

void StepScene(Scene* scene, RasterImage& canvas, ChangedArea* changed) {
    ChangedArea ignored;
    Step(scene, canvas, DrawStripedBall, true, changed != nullptr ? changed : &ignored);
}

void StepSceneFully(Scene* scene, RasterImage& canvas, BallPainter paint) {
    ChangedArea ignored;
    Step(scene, canvas, paint, false, &ignored);
}
