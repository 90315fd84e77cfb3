#pragma once

#include <cmath>
#include <cstdint>

// The bands of one drawing, tabulated once so that no pixel needs an arc cosine. The arc cosine
// falls as its argument grows, so a pixel lies beyond the band boundary at angle b exactly when
// along / halfChord < cos(b), that is along < cos(b) * halfChord, the half-chord being positive.
struct StripeBands {
    // Seven boundaries in the visible half turn allow stripes down to 180 / 7 degrees wide.
    static constexpr int MaxBoundaries = 7;

    // Cosines of the boundaries strictly between 0 and 180 degrees, falling; the unused slots
    // and the last one hold minus infinity, so that no pixel lies beyond them.
    double threshold[MaxBoundaries + 1];
    // How many slots hold a boundary.
    int count;
    // Parity of each band, indexed by the number of boundaries a pixel lies beyond.
    bool odd[MaxBoundaries + 1];
    // Parity where along is exactly 0: theta is then exactly 90, and the pixel must get the very
    // colour the per-pixel formula gives even when a boundary sits at 90.
    bool oddAtQuarter;

    // The number of boundaries the pixel lies beyond: a branch-free search of the eight slots.
    int BandOf(double along, double halfChord) const {
        int band = along < threshold[3] * halfChord ? 4 : 0;
        band += along < threshold[band + 1] * halfChord ? 2 : 0;
        band += along < threshold[band] * halfChord ? 1 : 0;
        return band;
    }

    // The exact per-pixel test: the parity of the pixel whose offset, turned into the ball's
    // frame, is (along, across), on a disc of squared radius rr.
    bool OddAt(double along, double across, int32_t rr) const {
        if (along == 0.0) return oddAtQuarter;
        double chordSquared = static_cast<double>(rr) - across * across;
        if (chordSquared < 0.0) chordSquared = 0.0;
        return odd[BandOf(along, std::sqrt(chordSquared) + 0.001)];
    }
};

// Fills bands for a roll phase and a positive, finite stripe width. Returns false when the bands
// cannot be tabulated faithfully (more boundaries than slots, or a roll so large that the stripe
// index no longer fits comfortably); callers then classify each pixel on its own.
bool TabulateStripeBands(double rollDegrees, double stripeWidthDegrees, StripeBands* bands);
