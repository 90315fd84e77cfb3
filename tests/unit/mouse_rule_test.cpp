#include <gtest/gtest.h>

#include <cstdint>

#include "saver_rules/mouse_rule.h"

namespace {

TEST(MouseMoveEndsSaver, OnlyLaterMovesOfMoreThanThreeOnBothAxes) {
    // By rows: the first six moves are ignored and the counter wraps; 4 pixels on both axes end
    // it, 3 on either does not; positions are unsigned words and only the distance's low 16 bits
    // count, signed; saved positions at the ends of the 32-bit range do not overflow.
    const struct {
        uint16_t countBefore;
        int32_t savedX, savedY;
        uint16_t x, y;
        int ends;
    } cases[] = {
        {0, 100, 100, 500, 500, 0},         {5, 100, 100, 500, 500, 0},
        {6, 100, 100, 500, 500, 1},         {65535, 0, 0, 500, 500, 0},
        {65534, 0, 0, 500, 500, 1},         {6, 100, 100, 96, 104, 1},
        {6, 100, 100, 103, 104, 0},         {6, 100, 100, 104, 97, 0},
        {6, 100, 100, 1000, 100, 0},        {6, 100, 100, 100, 700, 0},
        {6, 0, 0, 0xFFFF, 0xFFFF, 0},       {6, -5, -5, 0, 0, 1},
        {6, 0, 0, 0x7FFF, 0x7FFF, 1},       {6, 0, 0, 0x8000, 0x8000, 0},
        {6, 65540, 65540, 0, 0, 1},         {6, 65538, 65538, 0, 0, 0},
        {6, INT32_MIN, INT32_MIN, 4, 4, 0}, {6, INT32_MAX, INT32_MAX, 0, 0, 0},
    };
    for (const auto& c : cases) {
        uint16_t count = c.countBefore;
        EXPECT_EQ(MouseMoveEndsSaver(&count, c.savedX, c.savedY, uint32_t(c.y) << 16 | c.x), c.ends)
            << "move " << c.countBefore + 1 << " to " << c.x << ", " << c.y;
        EXPECT_EQ(count, uint16_t(c.countBefore + 1));
    }
}

}  // namespace
