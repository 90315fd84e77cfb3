#include "shell/scene_runner.h"

#include "scene/frame_step.h"
#include "scene/random.h"
#include "settings/ball_count_store.h"
#include "shell/frame_blit.h"
#include "shell/saver_state.h"

Scene SaverScene;
RasterImage SaverCanvas;

namespace {

// Whatever was painted over the window without an erase heals within a second: the whole canvas
// goes to the window at least every this many ticks.
constexpr unsigned TicksPerWholeCopy = 1000 / FrameIntervalMs;
unsigned TicksSinceWholeCopy = 0;

}  // namespace

void InitScene() {
    uint32_t count = DefaultBallCount;
    ReadBallCount(&count);
    uint32_t seed = 0;
    SeedRandom(&seed);
    // Without pixels the canvas stays harmless: nothing is drawn and nothing is shown.
    SaverCanvas.Create(SaverWidth, SaverHeight, 24);
    StartScene(&SaverScene, SaverWidth, SaverHeight, count, seed);
    TicksSinceWholeCopy = 0;
}

void StepAndPresentFrame(HDC dc) {
    ChangedArea changed;
    StepScene(&SaverScene, SaverCanvas, &changed);
    if (++TicksSinceWholeCopy >= TicksPerWholeCopy) changed.whole = true;
    if (changed.whole) TicksSinceWholeCopy = 0;
    CopyChangedArea(dc, SaverCanvas, changed);
}

void RequestWholeCopy() { TicksSinceWholeCopy = TicksPerWholeCopy; }
