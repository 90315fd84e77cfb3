#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "scene/stripe_bands.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define STRIPE_ROWS_SSE2 1
#endif

// Solve and OddBits run for every row of every ball: they belong in the caller's loop, and their
// helpers in them.
#if defined(__GNUC__)
#define STRIPE_ROWS_INLINE inline __attribute__((always_inline))
#define STRIPE_ROWS_INLINE_LAMBDA __attribute__((always_inline))
#else
#define STRIPE_ROWS_INLINE inline
#define STRIPE_ROWS_INLINE_LAMBDA
#endif

// Where the band boundaries of one drawing cross each pixel row, so that a row is painted from a
// few crossings and only the pixels next to a crossing need the exact per-pixel test.
//
// On row dy the offset of column x turned into the ball's frame is along = x c - dy s, across =
// x s + dy c. Mirroring the row (x, dy, c, s to -x, -dy, -c, -s) leaves both unchanged, so the
// crossings are worked out with c > 0. The pixel lies beyond the boundary whose cosine is t when
// along < t (m + 0.001), m = sqrt(rr - across^2); with u = along - 0.001 t that is u < t m. In
// real arithmetic this holds exactly where
//   t > 0: u < 0 or Q < 0,      t < 0: u < 0 and not Q < 0,
// Q = u^2 - t^2 (rr - across^2) being a quadratic in x with a positive leading coefficient: Q < 0
// strictly between its roots r1 <= r2, u < 0 left of xu = (dy s + 0.001 t) / c. A row is solved
// by where the points xu of its boundaries lie (they are within 0.001 / c of one another):
//   all on the row:        boundary i covers the columns left of r2 (t > 0) or of r1 (t < 0), for
//                          there Q(xu) = -t^2 m^2 <= 0 and so r1 <= xu <= r2;
//   all left of the row:   boundary i covers (r1, r2) when t > 0, nothing when t < 0;
//   all right of the row:  boundary i covers the row when t > 0, all but [r1, r2] when t < 0.
// The floating-point test can disagree with the real one only at a pixel within rounding of a
// crossing, at the pixel where along is exactly 0 (it has a colour of its own) and at a rim pixel
// near a pole (there rr - across^2 = along^2 is nearly 0, so rounding can empty the chord); those
// pixels are handed back for the exact test. Rows that fit none of the three cases (xu at an end
// of the row, or c nearly 0) are left to the exact test pixel by pixel.
//
// The roots, with A = c^2 + t^2 s^2 and the 0.001 written e (using c^2 + s^2 = 1, which the
// rounded cosine and sine meet to an ulp):
//   vertex = (c s (1 - t^2) dy + c t e) / A,   half-gap = |t| / A sqrt(A rr - (dy + s t e)^2).
// A point p of the row lies at = p - first + 1 (mirrored: 1 - first - p) from the pixel before
// its first, so that pixel i is at i + 1; clamped to [0.5, length + 0.5] it keeps its side of
// every pixel, and floor(at) is the first pixel beyond it (but where at is whole, and then the
// pixel is near). Positions are worked out in fixed point, FixedBits bits after the point: the
// scaling is exact, and floor and nearness become integer operations.
//
// How near is near: the crossings are exact to a few units in the last place of the radius,
// except where the two roots nearly meet and the square root's argument cancels, which costs at
// most about 1e-8 of the radius; and the floating-point test changes sides within rounding of a
// crossing. The margin allows for both with a wide berth. A pixel inside it only costs an exact
// test.
class StripeRows {
  public:
    static constexpr int Lanes = 8;  // boundaries, padded
    static constexpr int MaxRuns = 2 * StripeBands::MaxBoundaries + 1;
    static constexpr int MaxExact = 2 * StripeBands::MaxBoundaries + 3;
    // Where the points xu of a row lie.
    enum Kind { OnRow, LeftOfRow, RightOfRow };

    // One solved row. Its pixels are numbered from 0 (its first column) to length - 1.
    struct Row {
        Kind kind;
        // The boundaries [from, to) that shape the row. On a row with xu on it boundary i covers
        // the pixels before low[i] (mirrored: from low[i] on); otherwise it covers (left of the
        // row) or uncovers (right) the pixels from low[i] up to high[i]. Other lanes hold
        // crossings that do not count (on the other rows, low[i] = high[i]).
        int from;
        int to;
        alignas(16) int32_t low[Lanes];
        alignas(16) int32_t high[Lanes];
        // Pixels that need the exact test, possibly repeated.
        int32_t exactCount;
        int32_t exactAt[MaxExact];
    };

    // Prepares for one drawing: the bands, the rotation (c, s) and the disc's radius. False when
    // no row can be solved; callers then classify every pixel.
    bool Prepare(const StripeBands& bands, double c, double s, int32_t radius);

    // How many pairs of lanes hold boundaries: Solve and OddBits are instantiated for each.
    int Pairs() const { return (count_ + 1) / 2; }

    // Row dy from column first to column last (offsets from the centre, first <= last, both
    // within halfWidth, the row's half-width on the disc). False when the row fits none of the
    // three cases: then every pixel needs the exact test.
    template <int Pairs>
    bool Solve(int32_t dy, int32_t first, int32_t last, int32_t halfWidth, Row* row) const;

    // When the band parities alternate (as they do unless stripe 0 is doubled by a negative
    // roll), a row's pixel parities as bits, pixel i in bit i, for rows of up to 63 pixels.
    bool Alternating() const { return alternating_; }
    template <int Pairs>
    uint64_t OddBits(const Row& row) const;

    // The row as runs from left to right: run j ends before pixel end[j] (the last at length)
    // and has the parity odd[j]; a run that ends before the previous one ends is empty. Returns
    // the number of runs.
    int Runs(const Row& row, int32_t length, int32_t* end, uint8_t* odd) const;

  private:
    static constexpr int FixedBits = 12;
    static constexpr double Unit = 1 << FixedBits;

    bool IsNear(int32_t at) const {
        return ((at + marginUnits_) & ((1 << FixedBits) - 1)) < 2 * marginUnits_;
    }
    // The fixed-point position of the low or high crossing of lane on row y (negated when
    // mirrored), exactly as Solve finds it; at the centre when the lane does not count.
    int32_t Crossing(int lane, double y, double offset, double highest, bool high,
                     bool counts = true) const;
    // Adds the pixels near the crossings that shape the row to its exact ones.
    void AddNear(double y, double offset, double highest, int32_t length, Row* row) const;

    const StripeBands* bands_;
    bool mirrored_;
    bool alternating_;
    double c_;  // the cosine and sine of the solver's frame, where the cosine is positive
    double s_;
    double invC_;
    int32_t rr_;
    double poleZone_;  // along^2 below this on the rim is near a pole: 1e-6 rr
    // How far the points xu lie from dy s / c at most, and how near a crossing may come to a
    // pixel before the pixel is left to the exact test, in pixels and in fixed-point units.
    double spread_;
    double margin_;
    int32_t marginUnits_;
    int count_;     // boundaries
    int positive_;  // boundaries with t > 0, the first ones
    // The parity of a row's pixels before any crossing, by kind, as all-ones or zero.
    uint64_t oddBase_[3];
    // Per lane, the crossings of row y in fixed point:
    //   centre = centreSlope y + centreBase + (the row's offset),
    //   half-gap = gapScale sqrt(gapSquare - (y + gapShift)^2),
    // the crossings being centre -/+ half-gap. onRowScale is gapScale with the sign that picks
    // the crossing a row with xu on it ends at.
    alignas(16) double centreSlope_[Lanes];
    alignas(16) double centreBase_[Lanes];
    alignas(16) double gapScale_[Lanes];
    alignas(16) double onRowScale_[Lanes];
    alignas(16) double gapSquare_[Lanes];
    alignas(16) double gapShift_[Lanes];
    // gapScale on the lanes that shape a row left (first) or right of its xu points, 0 on the
    // others, whose two crossings then coincide and cancel.
    alignas(16) double groupScale_[2][Lanes];
#if STRIPE_ROWS_SSE2
    // All ones on the lanes that shape a row of each kind.
    __m128i countsNear_[3][Lanes / 4];
#endif
};

template <int Pairs>
STRIPE_ROWS_INLINE bool StripeRows::Solve(int32_t dy, int32_t first, int32_t last,
                                          int32_t halfWidth, Row* row) const {
    // Where the points xu lie, in the solver's frame (row y, columns lo to hi).
    const int32_t length = last - first + 1;
    const int32_t yi = mirrored_ ? -dy : dy;
    const int32_t lo = mirrored_ ? -last : first;
    const int32_t hi = lo + length - 1;
    const double x0 = (yi * s_) * invC_;  // xu without the 0.001 t: where along is 0
    Kind kind;
    if (x0 - spread_ >= lo && x0 + spread_ <= hi)
        kind = OnRow;
    else if (x0 + spread_ < lo - margin_)
        kind = LeftOfRow;
    else if (x0 - spread_ > hi + margin_)
        kind = RightOfRow;
    else
        return false;
    row->kind = kind;
    row->from = kind == RightOfRow ? positive_ : 0;
    row->to = kind == LeftOfRow ? positive_ : count_;
    row->exactCount = 0;
    const double y = yi;
    const double offset = (1.0 - first) * Unit;
    const double highest = (length + 0.5) * Unit;

    // The crossings of every lane, four at a time, and whether any lies near a pixel. A lane
    // that does not shape the row and lies near a pixel merely sends the row to the careful look
    // at its own crossings.
    bool near = false;
#if STRIPE_ROWS_SSE2
    const __m128d yv = _mm_set1_pd(y);
    const __m128d offsetv = _mm_set1_pd(offset);
    const __m128d lowestv = _mm_set1_pd(0.5 * Unit);
    const __m128d highestv = _mm_set1_pd(highest);
    const __m128i nearv = _mm_set1_epi32(marginUnits_);
    const __m128i fraction = _mm_set1_epi32((1 << FixedBits) - 1);
    const double* scale = kind == OnRow ? onRowScale_ : groupScale_[kind - LeftOfRow];
    __m128i nearAny = _mm_setzero_si128();
    auto fixed = [&](__m128d point) STRIPE_ROWS_INLINE_LAMBDA {
        return _mm_cvttpd_epi32(_mm_min_pd(_mm_max_pd(point, lowestv), highestv));
    };
    // Near: the fraction lies within the margin of a whole pixel, on a lane that counts.
    auto whole = [&](__m128i at, __m128i counting, int32_t* out) STRIPE_ROWS_INLINE_LAMBDA {
        const __m128i part = _mm_and_si128(_mm_add_epi32(at, nearv), fraction);
        nearAny = _mm_or_si128(
            nearAny, _mm_and_si128(counting, _mm_cmplt_epi32(part, _mm_add_epi32(nearv, nearv))));
        _mm_store_si128(reinterpret_cast<__m128i*>(out), _mm_srai_epi32(at, FixedBits));
    };
    const __m128i* counts = countsNear_[kind];
    // One pair of lanes: the crossings' centres and half-gaps.
    auto pair = [&](int l, __m128d* centre, __m128d* gap) STRIPE_ROWS_INLINE_LAMBDA {
        const __m128d shift = _mm_add_pd(yv, _mm_load_pd(gapShift_ + l));
        const __m128d square = _mm_sub_pd(_mm_load_pd(gapSquare_ + l), _mm_mul_pd(shift, shift));
        *gap =
            _mm_mul_pd(_mm_load_pd(scale + l), _mm_sqrt_pd(_mm_max_pd(square, _mm_setzero_pd())));
        *centre = _mm_add_pd(
            _mm_add_pd(_mm_mul_pd(_mm_load_pd(centreSlope_ + l), yv), _mm_load_pd(centreBase_ + l)),
            offsetv);
    };
    // Four lanes, or two (the rest of the four then zero, counting for nothing).
    auto quad = [&](int lane, bool both) STRIPE_ROWS_INLINE_LAMBDA {
        __m128d centre0, gap0, centre1 = _mm_setzero_pd(), gap1 = _mm_setzero_pd();
        pair(lane, &centre0, &gap0);
        if (both) pair(lane + 2, &centre1, &gap1);
        auto four = [&](__m128d at0, __m128d at1) STRIPE_ROWS_INLINE_LAMBDA {
            return both ? _mm_unpacklo_epi64(fixed(at0), fixed(at1)) : fixed(at0);
        };
        const __m128i counting = counts[lane / 4];
        if (kind == OnRow) {
            whole(four(_mm_add_pd(centre0, gap0), _mm_add_pd(centre1, gap1)), counting,
                  row->low + lane);
        } else {
            whole(four(_mm_sub_pd(centre0, gap0), _mm_sub_pd(centre1, gap1)), counting,
                  row->low + lane);
            whole(four(_mm_add_pd(centre0, gap0), _mm_add_pd(centre1, gap1)), counting,
                  row->high + lane);
        }
    };
    quad(0, Pairs >= 2);
    if (Pairs >= 3) quad(4, Pairs == 4);
    near = _mm_movemask_epi8(nearAny) != 0;
#else
    for (int lane = 0; lane < 2 * Pairs; ++lane) {
        if (kind == OnRow) {
            const int32_t at = Crossing(lane, y, offset, highest, onRowScale_[lane] > 0.0);
            row->low[lane] = at >> FixedBits;
            near = near || IsNear(at);
        } else {
            const bool counts = lane >= row->from && lane < row->to;
            const int32_t lowAt = Crossing(lane, y, offset, highest, false, counts);
            const int32_t highAt = Crossing(lane, y, offset, highest, true, counts);
            row->low[lane] = lowAt >> FixedBits;
            row->high[lane] = highAt >> FixedBits;
            near = near || IsNear(lowAt) || IsNear(highAt);
        }
    }
#endif

    // Pixels for the exact test: near a crossing that counts, where along is exactly 0, and rim
    // pixels near a pole (elsewhere on the rim rounding leaves rr - across^2 = along^2 within a
    // billionth of itself).
    if (near) AddNear(y, offset, highest, length, row);
    if (kind == OnRow) {
        const double x = (mirrored_ ? -x0 : x0) * Unit + offset;
        const auto at = static_cast<int32_t>(std::min(std::max(x, 0.5 * Unit), highest));
        const int32_t pixel = ((at + marginUnits_) >> FixedBits) - 1;
        if (IsNear(at) && pixel >= 0 && pixel < length) row->exactAt[row->exactCount++] = pixel;
    }
    if (int64_t{halfWidth} * halfWidth + int64_t{dy} * dy == rr_) {
        auto rim = [&](int32_t x) {
            const double along = (mirrored_ ? -x : x) * c_ - y * s_;
            if (x >= first && x <= last && along * along < poleZone_)
                row->exactAt[row->exactCount++] = x - first;
        };
        rim(-halfWidth);
        if (halfWidth != 0) rim(halfWidth);
    }
    return true;
}

template <int Pairs>
STRIPE_ROWS_INLINE uint64_t StripeRows::OddBits(const Row& row) const {
    // Pixel i lies before crossing p when bit i of PrefixBits[p] is set. A pixel's parity is
    // that of the first band flipped once per boundary covering it.
    static constexpr struct Prefixes {
        uint64_t bits[64];
        constexpr Prefixes() : bits() {
            for (int p = 0; p < 64; ++p) bits[p] = (uint64_t{1} << p) - 1;
        }
    } PrefixBits;
    const uint64_t* prefix = PrefixBits.bits;
    const int32_t* low = row.low;
    const int32_t* high = row.high;
    uint64_t bits = oddBase_[row.kind];
#pragma GCC unroll 8
    for (int lane = 0; lane < 2 * Pairs; ++lane) bits ^= prefix[low[lane]];
    if (row.kind != OnRow) {
#pragma GCC unroll 8
        for (int lane = 0; lane < 2 * Pairs; ++lane) bits ^= prefix[high[lane]];
    }
    return bits;
}
