#include "capture/x_image_pixels.h"

#include <cstddef>

namespace {

bool readable(const ZPixmapImage& image) {
    const int bits = image.bitsPerPixel;
    if (image.width <= 0 || image.height <= 0 || image.bytesPerLine < 0) return false;
    if (bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    return uint64_t(image.bytesPerLine) * 8 >= uint64_t(image.width) * uint64_t(bits);
}

// The pixel at (x, y): its bytes in the image's order, then the low `depth` bits.
uint32_t pixelAt(const ZPixmapImage& image, int x, int y) {
    const uint8_t* row = image.data + size_t(y) * size_t(image.bytesPerLine);
    uint32_t pixel = 0;
    if (image.bitsPerPixel == 4) {
        const uint8_t pair = row[x / 2];
        const bool highNibble = (x & 1) != image.msbFirst;
        pixel = highNibble ? pair >> 4 : pair & 0xFu;
    } else {
        const int bytes = image.bitsPerPixel / 8;
        const uint8_t* p = row + size_t(x) * size_t(bytes);
        for (int i = 0; i < bytes; ++i) pixel |= uint32_t(p[image.msbFirst ? i : bytes - 1 - i]) << (8 * (bytes - 1 - i));
    }
    if (image.depth > 0 && image.depth < 32) pixel &= (uint32_t(1) << image.depth) - 1;
    return pixel;
}

// One channel scaled to 8 bits by its mask, whatever the mask's width.
uint32_t channel(uint32_t pixel, uint64_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!(mask >> shift & 1)) ++shift;
    const uint64_t maximum = mask >> shift;
    return uint32_t(((pixel & mask) >> shift) * 255u / maximum);
}

}  // namespace

bool readsAsBgrx(const ZPixmapImage& image) {
    return readable(image) && image.bitsPerPixel == 32 && image.depth >= 24 && !image.msbFirst &&
           image.redMask == 0xFF0000 && image.greenMask == 0xFF00 && image.blueMask == 0xFF;
}

std::vector<uint32_t> convertToBgrx(const ZPixmapImage& image) {
    std::vector<uint32_t> pixels;
    if (!readable(image)) return pixels;
    pixels.resize(size_t(image.width) * size_t(image.height));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = pixelAt(image, x, y);
            pixels[size_t(y) * size_t(image.width) + size_t(x)] =
                channel(p, image.redMask) << 16 | channel(p, image.greenMask) << 8 | channel(p, image.blueMask);
        }
    return pixels;
}
