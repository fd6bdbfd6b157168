// The C runtime's rand() sequence, written out so every platform and every test
// sees the same numbers. State is per thread: the render thread seeds its own.
#pragma once
#include <cstdint>

void seedRandom(uint32_t seed);
int nextRandom();  // 0..32767
