#include "scene/striped_ball.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "raster/raster_image.h"
#include "scene/geometry.h"
#include "scene/stripe_bands.h"
#include "scene/stripe_rows.h"
#include "scene/stripe_value.h"

// The frame step draws every ball every tick, so this rasteriser takes no arc cosine and, for the
// most part, no square root per pixel: the rotation and the band boundaries' cosines are taken
// once per ball (stripe_bands.h), the columns where the boundaries cross a row once per row
// (stripe_rows.h), and the row is painted from them: a short 24-bit row four pixels at a time
// from its parity bits, any other in runs. The pixels next to a crossing get the exact test,
// which compares the pixel with the tabulated boundaries through the very products the per-pixel
// formulas form, so only a pixel whose stripe value lies within rounding of a whole number can
// come out in the other colour than there.
//
// Rows and columns off the canvas are skipped before any work. A 24-bit canvas takes the bytes
// blue, green, red; an 8-bit one the nearest palette index, searched once per colour, as SetPixel
// would find it for every pixel; SetPixel writes nothing at any other depth, and neither does this.

namespace {

// What a pixel of one parity receives: a 24-bit pixel the first three bytes (blue, green, red;
// the fourth repeats blue so that four-byte stores can be laid down pixel after pixel), an 8-bit
// pixel the first (its palette index).
struct Ink {
    uint8_t bytes[4];
};

// Rows are painted in chunks of this many pixels through a line buffer.
constexpr int32_t ChunkPixels = 256;

struct Ball {
    double c;  // cos(-heading)
    double s;  // sin(-heading)
    int32_t rr;
    double rollDegrees;
    double stripeWidthDegrees;
    const StripeBands* bands;  // null when the bands could not be tabulated
    Ink ink[2];                // even, odd

    bool OddAt(double along, double across) const {
        if (bands != nullptr) return bands->OddAt(along, across, rr);
        return StripeIsOdd(StripeValue(along, across, rr, rollDegrees, stripeWidthDegrees));
    }
};

// Every pixel of the row by the exact test. pixels points at column first.
template <int Bytes>
void PaintEachPixel(const Ball& ball, int32_t dy, int32_t first, int32_t last, uint8_t* pixels) {
    const double rowS = dy * ball.s;
    const double rowC = dy * ball.c;
    double column = first;
    for (int32_t dx = first; dx <= last; ++dx, column += 1.0, pixels += Bytes) {
        const bool odd = ball.OddAt(column * ball.c - rowS, column * ball.s + rowC);
        std::memcpy(pixels, ball.ink[odd].bytes, Bytes);
    }
}

// 16 bytes from p to q.
inline void Copy16(uint8_t* q, const uint8_t* p) { std::memcpy(q, p, 16); }

// What a run of one parity is painted with: its ink over and over, so that the 16 bytes from
// offset 0, 16 and 32 continue one another.
struct Pattern {
    uint8_t bytes[64];
};

template <int Bytes>
Pattern MakePattern(const Ink& ink) {
    Pattern pattern;
    if (Bytes == 1) {
        std::memset(pattern.bytes, ink.bytes[0], sizeof pattern.bytes);
    } else {
        // Four bytes per pixel, the fourth (blue again) overwritten by the next.
        for (int k = 0; k + 4 <= 64; k += 3) std::memcpy(pattern.bytes + k, ink.bytes, 4);
        std::memcpy(pattern.bytes + 60, ink.bytes, 4);
    }
    return pattern;
}

// Lays the runs of a row that fall on its pixels [start, start + span) into line, with 16-byte
// stores from each run's first pixel on; the next run overwrites what spills over, and line has
// room for the spill of the last.
template <int Bytes>
void LayRuns(int runs, const int32_t end[], const uint8_t odd[], const Pattern patterns[2],
             int32_t start, int32_t span, uint8_t* line) {
    int32_t from = 0;
    for (int j = 0; j < runs; ++j) {
        const int32_t to = std::min(std::max(end[j] - start, 0), span);
        const uint8_t* pattern = patterns[odd[j]].bytes;
        uint8_t* at = line + Bytes * from;
        Copy16(at, pattern);
        Copy16(at + 16, pattern + 16);
        Copy16(at + 32, pattern + 32);
        for (int32_t done = 48; done < Bytes * (to - from); done += 16)
            Copy16(at + done, pattern + done % 48);
        from = std::max(from, to);
    }
}

// The bytes of line to the canvas.
inline void Deliver(uint8_t* out, const uint8_t* line, int32_t bytes) {
    if (bytes >= 16 && bytes <= 96) {
        // Six overlapping copies cover a short row without a loop.
        for (int32_t k = 0; k < 96; k += 16) {
            const int32_t at = std::min(k, bytes - 16);
            Copy16(out + at, line + at);
        }
    } else {
        std::memcpy(out, line, static_cast<size_t>(bytes));
    }
}

// 24-bit pixels for every four parity bits: the pixel of bit k at bytes 3k to 3k + 2, the last
// four bytes spare.
struct Quads {
    uint8_t bytes[16][16];
};

Quads MakeQuads(const Ink ink[2]) {
    // Byte b of entry e belongs to pixel b / 3, odd when bit b / 3 of e is set: entry e is the
    // even bytes with those of OddBytes[e] taken from the odd ones.
    static constexpr struct Masks {
        uint64_t half[16][2];
        constexpr Masks() : half() {
            for (int e = 0; e < 16; ++e) {
                for (int b = 0; b < 12; ++b) {
                    if (((e >> (b / 3)) & 1) != 0)
                        half[e][b / 8] |= uint64_t{0xFF} << (8 * (b % 8));
                }
            }
        }
    } OddBytes;
    // The 16 bytes of an ink's pixels one after another, as two halves (bytes 0 to 7, 8 to 15).
    auto halves = [](const Ink& ink, uint64_t half[2]) {
        const uint64_t pixel = ink.bytes[0] | ink.bytes[1] << 8 | ink.bytes[2] << 16;
        half[0] = pixel | pixel << 24 | pixel << 48;
        half[1] = pixel >> 16 | pixel << 8 | pixel << 32 | pixel << 56;
    };
    uint64_t even[2];
    uint64_t flip[2];
    halves(ink[0], even);
    halves(ink[1], flip);
    flip[0] ^= even[0];
    flip[1] ^= even[1];
    Quads quads;
    for (int e = 0; e < 16; ++e) {
        const uint64_t half[2] = {even[0] ^ (flip[0] & OddBytes.half[e][0]),
                                  even[1] ^ (flip[1] & OddBytes.half[e][1])};
        std::memcpy(quads.bytes[e], half, 16);
    }
    return quads;
}

// What every row of one drawing needs.
template <int Bytes>
struct Disc {
    RasterImage& canvas;
    int32_t centreX;
    int32_t centreY;
    int32_t radius;
    const Ball& ball;
    const StripeRows* rows;  // null: every pixel by the exact test
    bool byBits;             // short rows by their parity bits
    Quads quads;
};

// The rows of the disc; Pairs is the rows' number of boundary pairs.
template <int Bytes, int Pairs>
void PaintRows(const Disc<Bytes>& disc) {
    const Ball& ball = disc.ball;
    const StripeRows* rows = disc.rows;
    RasterImage& canvas = disc.canvas;
    const int32_t centreX = disc.centreX;
    const int32_t centreY = disc.centreY;
    const int64_t rr = int64_t{disc.radius} * disc.radius;
    const int64_t top = std::max<int64_t>(-disc.radius, -int64_t{centreY});
    const int64_t bottom = std::min<int64_t>(disc.radius, canvas.Height() - 1 - int64_t{centreY});
    if (top > bottom) return;
    Pattern patterns[2];
    bool havePatterns = false;
    StripeRows::Row row;
    int32_t runEnd[StripeRows::MaxRuns];
    uint8_t runOdd[StripeRows::MaxRuns];
    uint8_t line[Bytes * ChunkPixels + 64];

    // Rows lie bottom-up in memory: each row down the picture starts a stride earlier.
    uint8_t* rowStart = canvas.RowPointer(static_cast<int32_t>(centreY + top));
    const ptrdiff_t stride = canvas.Stride();
    const uint8_t* bufferEnd = canvas.Buffer() + stride * canvas.Height();
    const int64_t width = canvas.Width();
    for (int64_t dy = top; dy <= bottom; ++dy, rowStart -= stride) {
        // The row's half-width on the disc. The rounded square root of a whole number below 2^31
        // never reaches the next whole number, so truncating it gives the largest w with
        // w^2 + dy^2 <= rr.
        const auto halfWidth = static_cast<int64_t>(std::sqrt(static_cast<double>(rr - dy * dy)));
        const int64_t first = std::max(-halfWidth, -int64_t{centreX});
        const int64_t last = std::min(halfWidth, width - 1 - centreX);
        if (first > last) continue;
        uint8_t* pixels = rowStart + Bytes * (centreX + first);
        const auto y = static_cast<int32_t>(dy);
        const auto x0 = static_cast<int32_t>(first);
        const auto x1 = static_cast<int32_t>(last);
        const int32_t length = x1 - x0 + 1;
        if (rows == nullptr ||
            !rows->template Solve<Pairs>(y, x0, x1, static_cast<int32_t>(halfWidth), &row)) {
            PaintEachPixel<Bytes>(ball, y, x0, x1, pixels);
            continue;
        }
        if (disc.byBits && length < 64) {
            // Four pixels per 16-byte store, the spare bytes overwritten by the next; the up to
            // 25 bytes written past the row's end are put back afterwards, or, at the very end of
            // the buffer, the row goes through the line buffer.
            uint64_t bits = rows->template OddBits<Pairs>(row);
            uint8_t* end = pixels + Bytes * length;
            const bool direct = bufferEnd - end >= 32;
            uint8_t* out = direct ? pixels : line;
            uint8_t after[32] = {};
            if (direct) {
                Copy16(after, end);
                Copy16(after + 16, end + 16);
            }
            for (int32_t i = 0; i < length; i += 8, bits >>= 8) {
                Copy16(out + 3 * i, disc.quads.bytes[bits & 15]);
                Copy16(out + 3 * i + 12, disc.quads.bytes[(bits >> 4) & 15]);
            }
            if (direct) {
                Copy16(end, after);
                Copy16(end + 16, after + 16);
            } else {
                Deliver(pixels, line, Bytes * length);
            }
        } else {
            if (!havePatterns) {
                patterns[0] = MakePattern<Bytes>(ball.ink[0]);
                patterns[1] = MakePattern<Bytes>(ball.ink[1]);
                havePatterns = true;
            }
            const int runs = rows->Runs(row, length, runEnd, runOdd);
            for (int32_t start = 0; start < length; start += ChunkPixels) {
                const int32_t span = std::min(length - start, ChunkPixels);
                LayRuns<Bytes>(runs, runEnd, runOdd, patterns, start, span, line);
                Deliver(pixels + Bytes * start, line, Bytes * span);
            }
        }
        const double rowS = y * ball.s;
        const double rowC = y * ball.c;
        for (int k = 0; k < row.exactCount; ++k) {
            const double column = x0 + row.exactAt[k];
            const bool odd = ball.OddAt(column * ball.c - rowS, column * ball.s + rowC);
            std::memcpy(pixels + Bytes * row.exactAt[k], ball.ink[odd].bytes, Bytes);
        }
    }
}

template <int Bytes>
void PaintDisc(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius,
               const Ball& ball) {
    StripeRows rows;
    const bool solvable =
        ball.bands != nullptr && rows.Prepare(*ball.bands, ball.c, ball.s, radius);
    Disc<Bytes> disc{canvas, centreX, centreY, radius, ball, nullptr, false, {}};
    if (solvable) {
        disc.rows = &rows;
        disc.byBits = Bytes == 3 && rows.Alternating();
    }
    if (disc.byBits) disc.quads = MakeQuads(ball.ink);
    switch (solvable ? rows.Pairs() : 4) {
        case 0:
        case 1:
            PaintRows<Bytes, 1>(disc);
            break;
        case 2:
            PaintRows<Bytes, 2>(disc);
            break;
        case 3:
            PaintRows<Bytes, 3>(disc);
            break;
        default:
            PaintRows<Bytes, 4>(disc);
            break;
    }
}

}  // namespace

int DrawStripedBall(RasterImage& canvas, int32_t centreX, int32_t centreY, int32_t radius,
                    double headingDegrees, double rollDegrees, double stripeWidthDegrees,
                    uint32_t evenColour, uint32_t oddColour) {
    const double h = DegToRad(headingDegrees);
    if (!StripedBallDrawable(radius, h, rollDegrees, stripeWidthDegrees)) return 1;
    const int32_t depth = canvas.Depth();
    if (depth != 24 && depth != 8) return 1;

    Ball ball;
    const uint32_t colours[2] = {evenColour, oddColour};
    for (int parity = 0; parity < 2; ++parity) {
        int32_t red = 0;
        int32_t green = 0;
        int32_t blue = 0;
        SplitColor(colours[parity], &red, &green, &blue);
        Ink& ink = ball.ink[parity];
        if (depth == 24) {
            ink = {{static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                    static_cast<uint8_t>(red), static_cast<uint8_t>(blue)}};
        } else {
            const int index = canvas.NearestPaletteIndex(red, green, blue);
            if (index < 0) return 1;  // no palette to search: SetPixel writes nothing
            ink = {{static_cast<uint8_t>(index), 0, 0, 0}};
        }
    }
    // The rotation by -h, taken exactly as the per-pixel formulas take it.
    ball.c = std::cos(-h);
    ball.s = std::sin(-h);
    ball.rr = radius * radius;
    ball.rollDegrees = rollDegrees;
    ball.stripeWidthDegrees = stripeWidthDegrees;
    StripeBands bands;
    ball.bands = TabulateStripeBands(rollDegrees, stripeWidthDegrees, &bands) ? &bands : nullptr;

    if (depth == 24)
        PaintDisc<3>(canvas, centreX, centreY, radius, ball);
    else
        PaintDisc<1>(canvas, centreX, centreY, radius, ball);
    return 1;
}
