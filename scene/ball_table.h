#pragma once

#include <cstdint>

constexpr int MaxBalls = 30;
constexpr int32_t BallRadius = 14;

// State of every ball, one array per field; slot i of each belongs to ball i.
struct BallTable {
    double speed[MaxBalls];
    double heading[MaxBalls];
    double rollPhase[MaxBalls];
    double targetY[MaxBalls];
    double targetX[MaxBalls];
    double posY[MaxBalls];
    double posX[MaxBalls];
    int32_t steerCountdown[MaxBalls];
    int32_t radius[MaxBalls];
};

extern BallTable Balls;
// Balls 0 to BallCount - 1 are in use.
extern uint32_t BallCount;
