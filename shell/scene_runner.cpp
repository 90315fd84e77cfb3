#include "shell/scene_runner.h"

#include "scene/ball_table.h"
#include "scene/canvas.h"
#include "scene/frame_step.h"
#include "scene/random.h"
#include "scene/scene_start.h"
#include "settings/ball_count_store.h"
#include "shell/saver_state.h"

void InitScene() {
    ReadBallCount(&BallCount);
    SeedRandom();
    // Without pixels the canvas stays harmless: nothing is drawn and nothing is shown.
    Canvas.Create(SaverWidth, SaverHeight, 24);
    // The setup dialog writes 1 to 30, but the registry may hold anything.
    BallCount = ClampBallCount(BallCount);
    PlaceBalls(SaverWidth, SaverHeight);
}

void StepAndPresentFrame(HDC dc) {
    const int32_t width = SaverWidth;
    const int32_t height = SaverHeight;
    StepScene(Canvas, width, height);

    // Only a canvas that holds exactly the pixels the header below describes may be read:
    // without pixels (creation failed) nothing is shown.
    const uint8_t* pixels = Canvas.RowPointer(height - 1);
    if (pixels == nullptr || Canvas.Width() != width || Canvas.Height() != height ||
        Canvas.Depth() != 24) {
        return;
    }

    SetStretchBltMode(dc, COLORONCOLOR);
    BITMAPINFO info = {};
    BITMAPINFOHEADER& header = info.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;  // positive: bottom-up rows, as the canvas keeps them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = 0;
    header.biXPelsPerMeter = 1;
    header.biYPelsPerMeter = 1;
    header.biClrUsed = 0;
    header.biClrImportant = 0;
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels, &info, DIB_RGB_COLORS);
}
