#pragma once

#include <cstdint>

#include "scene/tunables.h"

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
