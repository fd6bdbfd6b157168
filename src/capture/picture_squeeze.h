// Scaling a screen picture to the texture size the way the Windows capture always has:
// GDI's StretchBlt in its default BLACKONWHITE mode, where every destination pixel is the
// bitwise AND of the source pixels that fall on it. Portable, so both hosts and the tests
// get the same bytes from the same screen. Any thread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The source pixels one destination pixel takes along one axis.
struct SourceRun {
    int32_t first;
    int32_t count;  // 1 when the axis is enlarged
};

// Runs for a source axis of sourceLength squeezed or stretched to destLength (both > 0):
// GDI's Bresenham walk, which hands the rounding of each step to the nearer pixel.
std::vector<SourceRun> stretchAxis(int sourceLength, int destLength);

// A picture of 32-bit blue, green, red, unused pixels, rows top first, `stride` bytes apart.
struct BgrxPicture {
    const uint8_t* pixels;
    int width, height;
    size_t stride;
};

// Whether every pixel is black: such a screen has nothing to show (a compositor's or a
// daemon's blank screen), and the logo stands in.
bool isAllBlack(const BgrxPicture& picture);

// Squeezes or stretches `source` into width x height packed blue, green, red pixels, rows
// top first (width * height * 3 bytes at `bgr`). Returns false, writing nothing, when a side
// is not positive or the buffers cannot be allocated.
bool squeezePicture(const BgrxPicture& source, int width, int height, uint8_t* bgr);
