// The C runtime's rand(), one generator per thread.
#include "effects/random.h"

static thread_local uint32_t randomState = 1;

void seedRandom(uint32_t seed) { randomState = seed; }

int nextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return int((randomState >> 16) & 0x7FFF);
}
