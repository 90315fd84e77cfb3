#include <gtest/gtest.h>

#include <cstdint>

#include "shell/mouse_rule.h"

namespace {

uint32_t Position(uint16_t x, uint16_t y) { return static_cast<uint32_t>(y) << 16 | x; }

TEST(MouseMoveEndsSaver, FirstSixMovesNeverEnd) {
    uint16_t count = 0;
    for (int move = 1; move <= 6; ++move) {
        EXPECT_EQ(MouseMoveEndsSaver(&count, 100, 100, Position(500, 500)), 0) << move;
        EXPECT_EQ(count, move);
    }
    EXPECT_EQ(MouseMoveEndsSaver(&count, 100, 100, Position(500, 500)), 1);
    EXPECT_EQ(count, 7);
}

struct MoveCase {
    int32_t savedX;
    int32_t savedY;
    uint16_t x;
    uint16_t y;
    int ends;
};

void PrintTo(const MoveCase& c, std::ostream* os) {
    *os << "saved (" << c.savedX << ", " << c.savedY << ") to (" << c.x << ", " << c.y << ")";
}

class SeventhMove : public testing::TestWithParam<MoveCase> {};

TEST_P(SeventhMove, EndsOnlyWhenBothAxesMoveMoreThanThree) {
    const MoveCase& c = GetParam();
    uint16_t count = 6;
    EXPECT_EQ(MouseMoveEndsSaver(&count, c.savedX, c.savedY, Position(c.x, c.y)), c.ends);
    EXPECT_EQ(count, 7);
}

INSTANTIATE_TEST_SUITE_P(Distances, SeventhMove,
                         testing::Values(
                             // Diagonal moves of 4 pixels or more on both axes, in every direction.
                             MoveCase{100, 100, 104, 104, 1}, MoveCase{100, 100, 96, 96, 1},
                             MoveCase{100, 100, 96, 104, 1}, MoveCase{100, 100, 0, 0, 1},
                             // Exactly 3 pixels on either axis is still within the tolerance.
                             MoveCase{100, 100, 103, 103, 0}, MoveCase{100, 100, 103, 104, 0},
                             MoveCase{100, 100, 104, 97, 0}, MoveCase{100, 100, 100, 100, 0},
                             // Purely horizontal or vertical moves never end it, however long.
                             MoveCase{100, 100, 1000, 100, 0}, MoveCase{100, 100, 100, 700, 0},
                             MoveCase{100, 100, 1000, 102, 0},
                             // Positions are unsigned words: a client position of -1 reads as
                             // 65535, whose distance keeps only its low 16 bits and so reads as -1.
                             MoveCase{0, 0, 0xFFFF, 0xFFFF, 0}, MoveCase{-5, -5, 0, 0, 1},
                             // Distances of 32768 and more read as negative in 16 bits.
                             MoveCase{0, 0, 0x7FFF, 0x7FFF, 1}, MoveCase{0, 0, 0x8000, 0x8000, 0},
                             // Only the low 16 bits of the 32-bit distance count.
                             MoveCase{65540, 65540, 0, 0, 1}, MoveCase{65538, 65538, 0, 0, 0},
                             // Saved positions at the ends of the 32-bit range do not overflow.
                             MoveCase{INT32_MIN, INT32_MIN, 4, 4, 0},
                             MoveCase{INT32_MAX, INT32_MAX, 0, 0, 0}));

TEST(MouseMoveEndsSaver, CounterWrapGivesGraceAgain) {
    uint16_t count = 65535;
    EXPECT_EQ(MouseMoveEndsSaver(&count, 0, 0, Position(500, 500)), 0);
    EXPECT_EQ(count, 0);
    count = 65534;
    EXPECT_EQ(MouseMoveEndsSaver(&count, 0, 0, Position(500, 500)), 1);
    EXPECT_EQ(count, 65535);
}

}  // namespace
