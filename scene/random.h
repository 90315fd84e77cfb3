#pragma once

#include <cstdint>

// The scene's own generator: a 32-bit linear congruential generator whose outputs are bits
// 16-30 of the state.

// Sets *state to the calendar time in whole seconds, truncated to 32 bits.
void SeedRandom(uint32_t* state);
// Advances *state one step; returns the output / 32768, in [0, 1).
double Random01(uint32_t* state);
