#include "scene/ball_table.h"

BallTable Balls = {};
uint32_t BallCount = 0;
