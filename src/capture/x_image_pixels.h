// The pixels of an image as an X server hands it over in ZPixmap format, turned into the
// Windows capture's blue, green, red, unused layout: the XImage fields that place each
// pixel's bits, read without Xlib so that any layout can be tried. Portable; any thread.
#pragma once
#include <cstdint>
#include <vector>

struct ZPixmapImage {
    const uint8_t* data;  // height * bytesPerLine bytes
    int width, height;
    int bytesPerLine;
    int bitsPerPixel;  // 4, 8, 16, 24 and 32 are read
    int depth;         // the low bits of a pixel that count
    bool msbFirst;     // byte order (and nibble order at 4 bits)
    uint64_t redMask, greenMask, blueMask;
};

// A 24-bit TrueColor layout: 32-bit pixels of at least 24 bits that count, least significant
// byte first, blue in the low byte. Its rows can be squeezed as they are.
bool readsAsBgrx(const ZPixmapImage& image);

// Each pixel as XGetPixel reads it, its channels scaled to 8 bits by their masks (a missing
// mask gives 0), as 0x00RRGGBB, rows top first. Empty when a side is not positive, the
// rows are shorter than their pixels, or the pixels are of a size it does not read.
std::vector<uint32_t> convertToBgrx(const ZPixmapImage& image);
