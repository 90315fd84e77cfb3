#pragma once

#include <cstdint>

#include "scene/ball_table.h"
#include "scene/changed_area.h"

class RasterImage;

// Everything the ball scene is. Each front end holds its own; tests and tools make as many as
// they like.
struct Scene {
    BallTable balls = {};
    // Balls 0 to ballCount - 1 are in use; never more than MaxBalls.
    uint32_t ballCount = 0;
    uint32_t randomState = 0;
    // Canvas size the balls move on.
    int32_t width = 0;
    int32_t height = 0;

    // What the last tick drew, for the next tick to clear: the rectangle of each ball (its
    // flash lies on its normal drawing), and the canvas it drew into. A canvas the scene has not
    // drawn into, or has been told it cannot know, is cleared whole.
    PixelRect drawn[MaxBalls] = {};
    const RasterImage* drawnCanvas = nullptr;
    uint32_t drawnGeneration = 0;
};

// Starts a scene on a width x height canvas: count brought into the table's range, the
// generator set to seed, every ball placed. The first tick clears the whole canvas.
void StartScene(Scene* scene, int32_t width, int32_t height, uint32_t count, uint32_t seed);

// For callers that wrote on the canvas themselves: the next tick clears all of it.
void ForgetCanvas(Scene* scene);
