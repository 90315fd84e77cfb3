#pragma once

#include <cstdint>

// The scene's own generator: a 32-bit linear congruential generator whose outputs are bits
// 16-30 of the state.
extern uint32_t RandomState;

// Seeds from the calendar time in whole seconds.
void SeedRandom();
// Advances one step; returns the output / 32768, in [0, 1).
double Random01();
