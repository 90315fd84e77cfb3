#include "reference/straightforward.h"
#include "scene/frame_step.h"

void StepSceneReference(Scene& scene, RasterImage& canvas) {
    StepSceneFully(&scene, canvas, DrawStripedBallReference);
}
