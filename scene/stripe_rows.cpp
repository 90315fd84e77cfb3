#include "scene/stripe_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

bool StripeRows::Prepare(const StripeBands& bands, double c, double s, int32_t radius) {
    if (!(c != 0.0)) return false;
    bands_ = &bands;
    mirrored_ = c < 0.0;
    const double cs = mirrored_ ? -c : c;
    c_ = cs;
    s_ = mirrored_ ? -s : s;
    invC_ = 1.0 / cs;
    rr_ = radius * radius;
    poleZone_ = 1e-6 * rr_;
    margin_ = 1.0 / 1024 + radius * (1.0 / (1 << 22));
    marginUnits_ = static_cast<int32_t>(margin_ * Unit) + 1;
    count_ = bands.count;
    positive_ = 0;
    double largest = 0.0;
    const double sign = mirrored_ ? -Unit : Unit;
    // Lanes past the boundaries are worked out alongside: their crossing lies far before every
    // row, so it falls before the first pixel, is never near, and flips no parity.
    for (int i = 0; i < Lanes; ++i) {
        centreSlope_[i] = gapScale_[i] = onRowScale_[i] = gapSquare_[i] = gapShift_[i] = 0.0;
        groupScale_[0][i] = groupScale_[1][i] = 0.0;
        centreBase_[i] = -1e300;
    }
    for (int i = 0; i < count_; ++i) {
        const double t = bands.threshold[i];
        positive_ += t > 0.0;
        largest = std::max(largest, std::fabs(t));
        const double a = cs * cs + t * t * s_ * s_;
        const double perA = 1.0 / a;
        centreSlope_[i] = sign * (cs * s_ * (1.0 - t * t) * perA);
        centreBase_[i] = sign * (cs * t * 0.001 * perA);
        gapScale_[i] = Unit * (std::fabs(t) * perA);
        // The crossing in the row's own frame that is the solver's r2 (t > 0) or r1 (t < 0).
        onRowScale_[i] = (t > 0.0) != mirrored_ ? gapScale_[i] : -gapScale_[i];
        gapSquare_[i] = a * rr_;
        gapShift_[i] = s_ * t * 0.001;
        groupScale_[0][i] = t > 0.0 ? gapScale_[i] : 0.0;
        groupScale_[1][i] = t < 0.0 ? gapScale_[i] : 0.0;
    }
#if STRIPE_ROWS_SSE2
    const __m128i index[2] = {_mm_setr_epi32(0, 1, 2, 3), _mm_setr_epi32(4, 5, 6, 7)};
    auto lanes = [&](int quad, int from, int to) {
        return _mm_andnot_si128(_mm_cmplt_epi32(index[quad], _mm_set1_epi32(from)),
                                _mm_cmplt_epi32(index[quad], _mm_set1_epi32(to)));
    };
    for (int quad = 0; quad < Lanes / 4; ++quad) {
        countsNear_[OnRow][quad] = lanes(quad, 0, count_);
        countsNear_[LeftOfRow][quad] = lanes(quad, 0, positive_);
        countsNear_[RightOfRow][quad] = lanes(quad, positive_, count_);
    }
#endif
    spread_ = 0.001 * largest * invC_;

    alternating_ = true;
    for (int b = 1; b <= count_; ++b)
        alternating_ = alternating_ && bands.odd[b] != bands.odd[b - 1];
    // The parity of a pixel before every crossing: pixels of a row with xu on it lie in band
    // #{crossings after the pixel} (mirrored: count_ minus that), of one left of it in band 0
    // plus the intervals around it, of one right of it in band count_ minus those.
    const uint64_t none = 0;
    const uint64_t odd0 = bands.odd[0] ? ~none : none;
    const uint64_t oddAll = bands.odd[count_] ? ~none : none;
    oddBase_[OnRow] = mirrored_ ? oddAll : odd0;
    oddBase_[LeftOfRow] = odd0;
    oddBase_[RightOfRow] = oddAll;
    return true;
}

int32_t StripeRows::Crossing(int lane, double y, double offset, double highest, bool high,
                             bool counts) const {
    const double shift = y + gapShift_[lane];
    double root = gapSquare_[lane] - shift * shift;
    root = std::sqrt(root > 0.0 ? root : 0.0);
    const double centre = centreSlope_[lane] * y + centreBase_[lane] + offset;
    const double gap = (counts ? gapScale_[lane] : 0.0) * root;
    double at = high ? centre + gap : centre - gap;
    at = at > 0.5 * Unit ? at : 0.5 * Unit;  // a NaN goes to the start too
    return static_cast<int32_t>(at < highest ? at : highest);
}

void StripeRows::AddNear(double y, double offset, double highest, int32_t length, Row* row) const {
    for (int lane = row->from; lane < row->to; ++lane) {
        for (int high = 0; high < 2; ++high) {
            if (row->kind == OnRow && (high != 0) != (onRowScale_[lane] > 0.0)) continue;
            const int32_t at = Crossing(lane, y, offset, highest, high != 0);
            const int32_t pixel = ((at + marginUnits_) >> FixedBits) - 1;
            if (IsNear(at) && pixel >= 0 && pixel < length) row->exactAt[row->exactCount++] = pixel;
        }
    }
}

int StripeRows::Runs(const Row& row, int32_t length, int32_t* end, uint8_t* odd) const {
    const bool* bandOdd = bands_->odd;
    int runs = 0;
    if (row.kind == OnRow) {
        // The band falls from count_ to 0 (rises from 0, mirrored), the inner boundary ending
        // first; the crossings come in order but for rounding, which a run that ends early absorbs.
        for (int j = 0; j < count_; ++j) {
            end[j] = row.low[mirrored_ ? j : count_ - 1 - j];
            odd[j] = bandOdd[mirrored_ ? j : count_ - j];
        }
        runs = count_ + 1;
        odd[count_] = bandOdd[mirrored_ ? count_ : 0];
    } else {
        // Nested intervals, taken from the outer boundary in, each clamped into the one around
        // it; which changes nothing but where rounding or an empty interval (no crossing: both
        // ends at the vertex) would put an end out of order. Left of the row the boundaries with
        // t > 0 cover theirs, raising the band from 0; right of it the ones with t < 0 uncover
        // theirs, lowering it from count_.
        const bool left = row.kind == LeftOfRow;
        const int used = row.to - row.from;
        const int base = left ? 0 : count_;
        const int toward = left ? 1 : -1;
        int32_t inner = 0;
        int32_t outer = length;
        for (int m = 0; m < used; ++m) {
            const int lane = left ? m : count_ - 1 - m;
            end[m] = inner = std::clamp(row.low[lane], inner, outer);
            end[2 * used - 1 - m] = outer = std::clamp(row.high[lane], inner, outer);
            odd[m] = odd[2 * used - m] = bandOdd[base + toward * m];
        }
        odd[used] = bandOdd[base + toward * used];
        runs = 2 * used + 1;
    }
    end[runs - 1] = length;
    return runs;
}
