#include "shell/scene_runner.h"

#include "scene/random.h"
#include "settings/ball_count_store.h"
#include "shell/frame_blit.h"
#include "shell/monitor_layout.h"
#include "shell/saver_shell.h"

void InitScene(SaverShell* shell) {
    uint32_t count = DefaultBallCount;
    ReadBallCount(&count);
    uint32_t seed = 0;
    SeedRandom(&seed);
    PixelRect monitors[MaxMonitors];
    int monitorCount = 0;
    // The preview is one scene on the whole preview window.
    if (shell->CurrentMode != Preview)
        monitorCount = ReadMonitorLayout(shell->WindowOrigin, monitors, MaxMonitors);
    StartFrameLoop(&shell->Frames, shell->SaverWidth, shell->SaverHeight, monitors, monitorCount,
                   count, seed, int64_t{FrameIntervalMs} * 1000000);
}

void StepAndPresentFrame(SaverShell* shell, HDC dc) {
    StepFrameLoop(&shell->Frames, &shell->Copies);
    for (int k = 0; k < shell->Copies.count; ++k) CopyCanvasRect(dc, shell->Copies.rects[k]);
}

void RequestWholeCopy(SaverShell* shell) { RequestWholeFrame(&shell->Frames); }
