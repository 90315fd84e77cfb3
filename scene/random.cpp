#include "scene/random.h"

#include <ctime>

void SeedRandom(uint32_t* state) {
    // Two starts in the same second place the balls alike.
    *state = static_cast<uint32_t>(std::time(nullptr));
}

double Random01(uint32_t* state) {
    *state = *state * 214013u + 2531011u;
    const uint32_t output = (*state >> 16) & 0x7FFFu;
    return output / 32768.0;
}
