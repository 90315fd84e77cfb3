#pragma once

#include <cstdint>

// The full-screen saver's mouse-move rule. Counts the move in *moveCount (16 bits, wrapping) and
// returns 1 when the move ends the saver: from the seventh move on, a position (the low and high
// words of lParam) more than 3 pixels from (savedX, savedY) on both axes at once.
int MouseMoveEndsSaver(uint16_t* moveCount, int32_t savedX, int32_t savedY, uint32_t lParam);
