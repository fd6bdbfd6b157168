// What every picture decoder's fuzz target checks: a picture comes out whole within the
// pixel bound, or not at all.
#pragma once
#include <cstdint>

#include "native/picture_file.h"

inline void checkDecoded(bool decoded, const DecodedPicture& picture, uint64_t maxPixels) {
    if (!decoded) {
        if (!picture.pixels.empty()) __builtin_trap();
        return;
    }
    if (picture.width <= 0 || picture.height <= 0 || uint64_t(picture.width) * uint64_t(picture.height) > maxPixels ||
        picture.pixels.size() != size_t(picture.width) * size_t(picture.height) * 4)
        __builtin_trap();
}
