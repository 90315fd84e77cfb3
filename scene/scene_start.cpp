#include "scene/scene_start.h"

#include "scene/random.h"
#include "scene/scene.h"

namespace {

// Edge lines count as on the canvas.
bool IsOffAxis(double value, double size) { return value < 0.0 || value > size; }

}  // namespace

double SpreadAboutCentre(uint32_t* randomState, double size) {
    return ((Random01(randomState) - 0.5) * size) * TargetSpread + size * 0.5;
}

int32_t DrawCountdown(uint32_t* randomState) {
    return static_cast<int32_t>(Random01(randomState) * CountdownSpread + CountdownMin);
}

uint32_t ClampBallCount(uint32_t stored) {
    // The store hands on any 32-bit value; a negative one would read as huge.
    if (stored >= 0x80000000u) return 0;
    if (stored > static_cast<uint32_t>(MaxBalls)) return MaxBalls;
    return stored;
}

void PlaceBalls(Scene* scene) {
    // No point lies off a canvas without area on both axes, so the draw would never end.
    if (scene->width < 1 || scene->height < 1) {
        scene->ballCount = 0;
        return;
    }
    const double w = scene->width;
    const double h = scene->height;
    BallTable& b = scene->balls;
    uint32_t* random = &scene->randomState;
    const uint32_t count =
        scene->ballCount < static_cast<uint32_t>(MaxBalls) ? scene->ballCount : MaxBalls;
    for (uint32_t i = 0; i < count; ++i) {
        // Beyond one of the four corners: off the canvas on both axes at once.
        do {
            b.posX[i] = SpreadAboutCentre(random, w);
            b.posY[i] = SpreadAboutCentre(random, h);
        } while (!IsOffAxis(b.posX[i], w) || !IsOffAxis(b.posY[i], h));
        b.radius[i] = BallRadius;
        b.steerCountdown[i] = DrawCountdown(random);
        b.targetX[i] = Random01(random) * w;
        b.targetY[i] = Random01(random) * h;
        b.heading[i] = Random01(random) * 360;
        b.rollPhase[i] = 0;
        b.speed[i] = Random01(random) * SpeedSpread + SpeedMin;
    }
}

void StartScene(Scene* scene, int32_t width, int32_t height, uint32_t count, uint32_t seed) {
    *scene = Scene{};
    scene->width = width;
    scene->height = height;
    scene->ballCount = ClampBallCount(count);
    scene->randomState = seed;
    PlaceBalls(scene);
}

void ForgetCanvas(Scene* scene) { scene->drawnCanvas = nullptr; }
