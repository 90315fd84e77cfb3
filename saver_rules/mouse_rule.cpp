#include "saver_rules/mouse_rule.h"

namespace {

// Mouse-move messages right after the start (the window appearing under the cursor, the
// cursor being put back after a refused close) must not end the saver.
constexpr uint16_t GraceMoves = 6;
constexpr int16_t Tolerance = 3;

// |saved - position| formed in 32 bits, then only its low 16 bits read as a signed number.
int16_t AxisDistance(int32_t saved, uint32_t position) {
    uint32_t difference = static_cast<uint32_t>(saved) - position;
    if (difference & 0x80000000u) difference = 0u - difference;
    return static_cast<int16_t>(static_cast<uint16_t>(difference));
}

}  // namespace

int MouseMoveEndsSaver(uint16_t* moveCount, int32_t savedX, int32_t savedY, uint32_t lParam) {
    *moveCount = static_cast<uint16_t>(*moveCount + 1);
    if (*moveCount <= GraceMoves) return 0;
    const uint32_t x = lParam & 0xFFFFu;
    const uint32_t y = (lParam >> 16) & 0xFFFFu;
    return AxisDistance(savedX, x) > Tolerance && AxisDistance(savedY, y) > Tolerance ? 1 : 0;
}
