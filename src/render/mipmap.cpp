#include "render/mipmap.h"

#include <cstddef>

static bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

bool mipmapsBuildable(int width, int height) { return powerOfTwo(width) && powerOfTwo(height); }

// GLU's rounding: four pixels are averaged rounding half up, two (a level one pixel wide or
// high) rounding down. Every pixel written lies at or before the first one it is made from,
// so the level can be halved where it stands.
void halveMipmapLevel(uint8_t* pixels, int& width, int& height) {
    const uint8_t* in = pixels;
    uint8_t* out = pixels;
    if (width == 1 || height == 1) {  // a line: neighbours are 3 bytes apart
        const int count = (width * height) / 2;
        for (int i = 0; i < count; ++i, in += 6, out += 3)
            for (int c = 0; c < 3; ++c) out[c] = uint8_t((in[c] + in[3 + c]) / 2);
    } else {
        const size_t row = size_t(width) * 3;
        for (int y = 0; y < height / 2; ++y) {
            const uint8_t* top = pixels + size_t(2 * y) * row;
            for (int x = 0; x < width / 2; ++x, top += 6, out += 3)
                for (int c = 0; c < 3; ++c)
                    out[c] = uint8_t((top[c] + top[3 + c] + top[row + c] + top[row + 3 + c] + 2) / 4);
        }
    }
    width = width > 1 ? width / 2 : 1;
    height = height > 1 ? height / 2 : 1;
}
