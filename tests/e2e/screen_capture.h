#pragma once

#include <cstdint>
#include <vector>

// The whole screen read back through GDI, as 0x00RRGGBB pixels, top row first.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

ScreenPixels CaptureScreen();

// How many pixels show each colour the saver paints. Anything else is counted as foreign.
struct ColourCensus {
    long black = 0;
    long red = 0;    // odd stripes (240, 0, 0)
    long white = 0;  // even stripes (255, 255, 255)
    long flash = 0;  // a ball turning back: (255, 200, 200) and (240, 100, 100)
    long foreign = 0;
    long BallPixels() const { return red + white + flash; }
};

ColourCensus CountColours(const ScreenPixels& screen);

// Pixels that differ between two captures of the same size while one of them shows a ball.
long ChangedBallPixels(const ScreenPixels& before, const ScreenPixels& after);
