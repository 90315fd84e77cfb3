#include "scene/random.h"

#include <ctime>

uint32_t RandomState = 0;

void SeedRandom() {
    // Whole seconds since 1970, truncated to 32 bits: two starts in the same second place the
    // balls alike.
    RandomState = static_cast<uint32_t>(std::time(nullptr));
}

double Random01() {
    RandomState = RandomState * 214013u + 2531011u;
    const uint32_t output = (RandomState >> 16) & 0x7FFFu;
    return output / 32768.0;
}
