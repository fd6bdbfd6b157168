// A picture file's size as its first bytes give it, read before any decoder sees the file:
// some decoders (Wine's) decode a picture whole as they open it, so its size must be
// known to be bounded first. PNG, JPEG, GIF and BMP. Portable; any thread.
#pragma once
#include <cstddef>
#include <cstdint>

// More than this is no picture a saver shows (a 64-megapixel picture takes 256 MB decoded).
const uint64_t maxPicturePixels = 64000000;

// The width and height the bytes at the start of a file give; false when they give none (a
// kind not known here, too few bytes, or a JPEG whose frame header lies further on).
bool pictureHeaderSize(const uint8_t* bytes, size_t size, uint32_t& width, uint32_t& height);
