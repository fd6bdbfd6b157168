#include "capture/picture_header.h"

#include <cstring>

namespace {

uint32_t bigEndian(const uint8_t* at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | at[i];
    return value;
}

uint32_t littleEndian(const uint8_t* at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
    return value;
}

// The first frame header's size, walking the segments before it.
bool jpegSize(const uint8_t* bytes, size_t size, uint32_t& width, uint32_t& height) {
    size_t at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF) return false;
        const uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && at + 9 <= size) {
            height = bigEndian(bytes + at + 5, 2), width = bigEndian(bytes + at + 7, 2);
            return true;
        }
        if (frame || marker == 0xDA || marker == 0xD9) return false;
        at += 2 + bigEndian(bytes + at + 2, 2);
    }
    return false;
}

// BMP's width and height: signed in the info headers (a negative height is top row
// first), unsigned 16 bits in the old core header.
bool bmpSize(const uint8_t* bytes, size_t size, uint32_t& width, uint32_t& height) {
    if (size < 26) return false;
    if (littleEndian(bytes + 14, 4) == 12) {
        width = littleEndian(bytes + 18, 2), height = littleEndian(bytes + 20, 2);
        return true;
    }
    const int32_t w = int32_t(littleEndian(bytes + 18, 4)), h = int32_t(littleEndian(bytes + 22, 4));
    width = w < 0 ? 0u - uint32_t(w) : uint32_t(w), height = h < 0 ? 0u - uint32_t(h) : uint32_t(h);
    return true;
}

}  // namespace

bool pictureHeaderSize(const uint8_t* bytes, size_t size, uint32_t& width, uint32_t& height) {
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 24 && std::memcmp(bytes, png, 8) == 0 && std::memcmp(bytes + 12, "IHDR", 4) == 0) {
        width = bigEndian(bytes + 16, 4), height = bigEndian(bytes + 20, 4);
        return true;
    }
    if (size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return jpegSize(bytes, size, width, height);
    if (size >= 10 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0)) {
        width = littleEndian(bytes + 6, 2), height = littleEndian(bytes + 8, 2);
        return true;
    }
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return bmpSize(bytes, size, width, height);
    return false;
}
