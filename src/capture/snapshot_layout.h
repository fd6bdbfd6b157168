// Sizes and byte layout of the desktop snapshot, apart from GDI.
#pragma once
#include <cstddef>
#include <cstdint>

// Bytes of a width x height snapshot, or 0 when the size is not positive or so
// large that the buffers would not fit (the caller then takes no snapshot).
size_t snapshotBytes(int width, int height);

// 32-bit blue, green, red, unused pixels to packed blue, green, red.
void packBgrxToBgr(const uint8_t* bgrx, size_t pixelCount, uint8_t* bgr);
