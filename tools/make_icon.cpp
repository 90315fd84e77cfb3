// Draws the program icon, a rolling striped ball, with the saver's own rasteriser and writes it
// as a 32 x 32, 16-colour .ico file. Given a second file, also checks that the two are the same
// byte for byte, so that the committed icon provably comes from this drawing.
//
// Usage: make_icon OUTPUT.ico [EXPECTED.ico]

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "raster/raster_image.h"
#include "scene/striped_ball.h"
#include "scene/tunables.h"

namespace {

constexpr int32_t IconSize = 32;
constexpr int32_t PaletteSize = 16;
// The ball as the saver draws it, with a dark rim one pixel wide around it so that its white
// stripes stay visible on light backgrounds.
constexpr int32_t BallCentre = 15;
// The rim is the ball's disc moved one pixel each way: it follows the ball's own outline.
constexpr int32_t RimOffsets[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
constexpr double Heading = 315.0;  // rolling toward the upper right
constexpr double Roll = 20.0;
constexpr uint32_t Rim = 0x00000080;

struct Rgb {
    int32_t red;
    int32_t green;
    int32_t blue;
};

// The standard 16-colour palette, so that the icon looks the same on a 16-colour display.
constexpr Rgb Palette[PaletteSize] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

int NearestPaletteIndex(Rgb colour) {
    int best = 0;
    int32_t bestDistance = INT32_MAX;
    for (int i = 0; i < PaletteSize; ++i) {
        const int32_t dr = Palette[i].red - colour.red;
        const int32_t dg = Palette[i].green - colour.green;
        const int32_t db = Palette[i].blue - colour.blue;
        const int32_t distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

Rgb PixelAt(const RasterImage& image, int32_t x, int32_t y) {
    const uint8_t* pixel = image.RowPointer(y) + 3 * x;
    return {pixel[2], pixel[1], pixel[0]};
}

void PutU8(std::vector<uint8_t>& out, uint32_t value) { out.push_back(value & 0xFF); }
void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    PutU8(out, value);
    PutU8(out, value >> 8);
}
void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value);
    PutU16(out, value >> 16);
}

bool DrawIcon(RasterImage& picture, RasterImage& coverage) {
    if (!picture.Create(IconSize, IconSize, 24) || !coverage.Create(IconSize, IconSize, 24)) {
        return false;
    }
    for (const auto& offset : RimOffsets) {
        const int32_t x = BallCentre + offset[0];
        const int32_t y = BallCentre + offset[1];
        DrawStripedBall(picture, x, y, BallRadius, Heading, Roll, StripeWidth, Rim, Rim);
        // Every pixel of the rim is opaque; the rest is transparent.
        DrawStripedBall(coverage, x, y, BallRadius, 0.0, 0.0, StripeWidth, NormalEvenColour,
                        NormalEvenColour);
    }
    DrawStripedBall(picture, BallCentre, BallCentre, BallRadius, Heading, Roll, StripeWidth,
                    NormalEvenColour, NormalOddColour);
    return true;
}

std::vector<uint8_t> EncodeIcon(const RasterImage& picture, const RasterImage& coverage) {
    constexpr uint32_t colourRowBytes = IconSize / 2;  // 4 bits a pixel, already whole words
    constexpr uint32_t maskRowBytes = 4;               // 1 bit a pixel, padded to a word
    constexpr uint32_t headerBytes = 40;
    constexpr uint32_t imageBytes = colourRowBytes * IconSize + maskRowBytes * IconSize;
    constexpr uint32_t resourceBytes = headerBytes + PaletteSize * 4 + imageBytes;
    constexpr uint32_t directoryBytes = 6 + 16;

    std::vector<uint8_t> out;
    // Icon directory with its one entry.
    PutU16(out, 0);
    PutU16(out, 1);  // icon
    PutU16(out, 1);  // one image
    PutU8(out, IconSize);
    PutU8(out, IconSize);
    PutU8(out, PaletteSize);
    PutU8(out, 0);
    PutU16(out, 1);  // planes
    PutU16(out, 4);  // bits per pixel
    PutU32(out, resourceBytes);
    PutU32(out, directoryBytes);

    // The image: a bitmap header of twice the height (colours, then mask), palette, rows
    // bottom-up.
    PutU32(out, headerBytes);
    PutU32(out, IconSize);
    PutU32(out, IconSize * 2);
    PutU16(out, 1);
    PutU16(out, 4);
    PutU32(out, 0);  // BI_RGB
    PutU32(out, imageBytes);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, PaletteSize);
    PutU32(out, 0);
    for (const Rgb& entry : Palette) {
        PutU8(out, entry.blue);
        PutU8(out, entry.green);
        PutU8(out, entry.red);
        PutU8(out, 0);
    }
    for (int32_t y = IconSize - 1; y >= 0; --y) {
        for (int32_t x = 0; x < IconSize; x += 2) {
            int index[2] = {0, 0};
            for (int half = 0; half < 2; ++half) {
                // Transparent pixels are black in the colour image, as the mask expects.
                if (PixelAt(coverage, x + half, y).red != 0) {
                    index[half] = NearestPaletteIndex(PixelAt(picture, x + half, y));
                }
            }
            PutU8(out, static_cast<uint32_t>(index[0] << 4 | index[1]));
        }
    }
    for (int32_t y = IconSize - 1; y >= 0; --y) {
        uint32_t bits = 0;
        for (int32_t x = 0; x < IconSize; ++x) {
            if (PixelAt(coverage, x, y).red == 0) bits |= 0x80000000u >> x;
        }
        // Most significant bit first: the leftmost pixel is the top bit of the first byte.
        PutU8(out, bits >> 24);
        PutU8(out, bits >> 16);
        PutU8(out, bits >> 8);
        PutU8(out, bits);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico [EXPECTED.ico]\n", argv[0]);
        return 2;
    }
    RasterImage picture;
    RasterImage coverage;
    if (!DrawIcon(picture, coverage)) {
        std::fprintf(stderr, "make_icon: no memory for the drawing\n");
        return 1;
    }
    const std::vector<uint8_t> icon = EncodeIcon(picture, coverage);

    std::ofstream output(argv[1], std::ios::binary);
    output.write(reinterpret_cast<const char*>(icon.data()),
                 static_cast<std::streamsize>(icon.size()));
    output.close();
    if (!output) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc == 3) {
        std::ifstream expectedFile(argv[2], std::ios::binary);
        const std::vector<uint8_t> expected((std::istreambuf_iterator<char>(expectedFile)),
                                            std::istreambuf_iterator<char>());
        if (expected != icon) {
            std::fprintf(stderr,
                         "make_icon: %s differs from the drawing (%s); copy it over to update\n",
                         argv[2], argv[1]);
            return 1;
        }
    }
    return 0;
}
