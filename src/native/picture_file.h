// A picture file's bytes as pixels: PNG with libpng, JPEG with libjpeg-turbo, both native
// hosts' pictures (grim's screenshot, the user's picture folder). The size is read from the
// header and bounded before any pixel is decoded; the libraries' messages never reach
// stderr, and their errors never end the process. Main thread, at start-up.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "capture/picture_header.h"

// Blue, green, red and an unused byte per pixel, rows top first, packed, as stored.
struct DecodedPicture {
    std::vector<uint8_t> pixels;
    int width = 0, height = 0;
    // How the stored pixels are turned to stand upright: a camera's EXIF orientation, 1 (as
    // stored) to 8; 5 to 8 swap the sides.
    int orientation = 1;
};


// Whether the bytes begin as a PNG or a JPEG file does.
bool looksLikePicture(const uint8_t* bytes, size_t size);

// Decodes a PNG or JPEG file held in memory. False, with `picture` empty, for any other
// bytes, a broken or cut-short file, one of more than `maxPixels` pixels, a progressive
// JPEG whose decode would take more than some 160 MB, or when `giveUp` (may be null; asked
// between rows, a JPEG's scans included) says so. Where both its sides stay at least
// `leastSide` (0: whole) a JPEG is decoded at a half, a quarter or an eighth of its size,
// and a PNG at a whole fraction, each pixel the mean of its block, row by row.
bool decodePicture(const uint8_t* bytes, size_t size, uint64_t maxPixels, DecodedPicture& picture,
                   bool (*giveUp)() = nullptr, int leastSide = 0);
