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

// The same squeeze fed a band of source rows at a time, top band first, so that only a band
// of the source need be held at once; the bytes are those of squeezePicture of the whole.
struct BandSqueeze {
    std::vector<SourceRun> columns, rows;
    std::vector<uint32_t> row;  // the AND so far of the destination row being made
    uint8_t* bgr = nullptr;
    int nextRow = 0;            // the destination row being made
    bool rowBegun = false;
};

// False, with nothing to feed, when a side is not positive or the buffers cannot be had.
bool beginBandSqueeze(BandSqueeze& squeeze, int sourceWidth, int sourceHeight, int width, int height, uint8_t* bgr);

// Takes source rows firstRow .. firstRow + band.height - 1 (band.width is the source's);
// writes every destination row whose source rows have all come.
void squeezeBand(BandSqueeze& squeeze, const BgrxPicture& band, int firstRow);
