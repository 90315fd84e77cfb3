#pragma once

#include <cstdint>

#include "scene/tunables.h"

// A rectangle of canvas pixels: columns left to right - 1, rows top to bottom - 1 (row 0 at the
// top of the picture). Empty when right <= left or bottom <= top.
struct PixelRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Where one tick changed the canvas: everything (whole), or the listed rectangles, which lie on
// the canvas. A front end copies just these to the screen.
struct ChangedArea {
    // Last tick's drawing cleared and this tick's drawn: up to two rectangles per ball.
    static constexpr int Capacity = 2 * MaxBalls;
    bool whole = false;
    int count = 0;
    PixelRect rects[Capacity];
};

// Adds a rectangle; empty ones are dropped. Past the capacity the area becomes whole.
void AddChangedRect(ChangedArea* area, const PixelRect& rect);

// Adds two rectangles, as one when that costs little more than the two.
void AddChangedPair(ChangedArea* area, const PixelRect& a, const PixelRect& b);

// Merges rectangles that overlap or touch, or whose bounding box costs little more than the two,
// so that a front end makes few copies; the merged rectangles cover at least what the parts did.
void MergeChangedRects(ChangedArea* area);
