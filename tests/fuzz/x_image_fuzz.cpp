// The X image conversion at any size, pixel size, depth, byte order and channel masks:
// wherever Xlib reads the layout, the conversion reads it too and gives, pixel by pixel,
// what XGetPixel gives, scaled by the masks.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

#include "capture/x_image_pixels.h"
#include "fuzz_input.h"

static const int pixelSizes[] = {1, 4, 8, 16, 24, 32, 12, 32};

static uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    const int shift = __builtin_ctzl(mask);
    return uint32_t(((pixel & mask) >> shift) * 255u / (mask >> shift));
}

static XImage xlibImage(const ZPixmapImage& image, std::vector<uint8_t>& pixels) {
    XImage x = {};
    x.width = image.width, x.height = image.height, x.format = ZPixmap;
    x.data = reinterpret_cast<char*>(pixels.data());
    x.byte_order = image.msbFirst ? MSBFirst : LSBFirst;
    x.bitmap_unit = 32, x.bitmap_bit_order = x.byte_order, x.bitmap_pad = 8;  // rows padded to bytes
    x.depth = image.depth, x.bits_per_pixel = image.bitsPerPixel, x.bytes_per_line = image.bytesPerLine;
    x.red_mask = image.redMask, x.green_mask = image.greenMask, x.blue_mask = image.blueMask;
    return x;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input = {data, size};
    ZPixmapImage image;
    image.width = int(input.number(40)) - 1;  // -1 and 0 too
    image.height = int(input.number(40)) - 1;
    image.bitsPerPixel = pixelSizes[input.byte() % 8];
    image.depth = int(input.number(40));
    image.msbFirst = input.byte() & 1;
    const int rowBytes = (std::max(image.width, 0) * image.bitsPerPixel + 7) / 8;
    image.bytesPerLine = rowBytes + int(input.number(8)) - int(input.byte() & 1);  // too short too
    uint64_t* masks[] = {&image.redMask, &image.greenMask, &image.blueMask};
    for (uint64_t* mask : masks) {
        *mask = 0;
        for (int i = 0; i < 8; ++i) *mask = *mask << 8 | input.byte();
        if (input.byte() & 1) *mask &= 0xFFFFFF;  // a usual width
    }
    const std::string rest = input.rest();
    std::vector<uint8_t> pixels(size_t(std::max(image.bytesPerLine, 1)) * size_t(std::max(image.height, 1)));
    for (size_t i = 0; !rest.empty() && i < pixels.size(); ++i) pixels[i] = uint8_t(rest[i % rest.size()]);
    image.data = pixels.data();
    const std::vector<uint32_t> converted = convertToBgrx(image);

    if (readsAsBgrx(image))  // squeezed as they are: the same blue, green and red bytes
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const uint8_t* p = pixels.data() + size_t(y) * size_t(image.bytesPerLine) + size_t(x) * 4;
                if (converted[size_t(y) * size_t(image.width) + size_t(x)] != uint32_t(p[2] << 16 | p[1] << 8 | p[0]))
                    __builtin_trap();
            }

    // A zero row length asks Xlib to work one out; a server never sends one.
    XImage reference = xlibImage(image, pixels);
    const bool xlibReads = image.width > 0 && image.height > 0 && image.bytesPerLine > 0 && XInitImage(&reference);
    const bool serversSendIt = image.bitsPerPixel >= 4 && image.bitsPerPixel != 12;
    if (xlibReads && serversSendIt && converted.empty()) __builtin_trap();
    if (!xlibReads || converted.empty()) return 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const unsigned long p = XGetPixel(&reference, x, y);
            const uint32_t expected = channel(p, image.redMask) << 16 | channel(p, image.greenMask) << 8 |
                                      channel(p, image.blueMask);
            if (converted[size_t(y) * size_t(image.width) + size_t(x)] != expected) __builtin_trap();
        }
    return 0;
}
