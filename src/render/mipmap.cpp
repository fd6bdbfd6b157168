#include "render/mipmap.h"

#include <cstddef>
#include <new>

static bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

bool mipmapsBuildable(int width, int height) { return powerOfTwo(width) && powerOfTwo(height); }

// GLU's rounding: four pixels are averaged rounding half up, two (a level one pixel wide
// or high) rounding down.
void halveMipmapLevel(const uint8_t* in, int width, int height, uint8_t* out) {
    if (width == 1 || height == 1) {  // a line: neighbours are 3 bytes apart
        const int count = (width * height) / 2;
        for (int i = 0; i < count; ++i, in += 6, out += 3)
            for (int c = 0; c < 3; ++c) out[c] = uint8_t((in[c] + in[3 + c]) / 2);
        return;
    }
    const size_t row = size_t(width) * 3;
    for (int y = 0; y < height / 2; ++y) {
        const uint8_t* top = in + size_t(2 * y) * row;
        for (int x = 0; x < width / 2; ++x, top += 6, out += 3)
            for (int c = 0; c < 3; ++c)
                out[c] = uint8_t((top[c] + top[3 + c] + top[row + c] + top[row + 3 + c] + 2) / 4);
    }
}

bool buildMipmapChain(const uint8_t* picture, int width, int height, MipmapChain& chain) {
    chain = MipmapChain();
    if (!mipmapsBuildable(width, height)) return false;
    size_t below = 0;  // bytes of the levels under level 0
    for (int w = width, h = height; w > 1 || h > 1;) {
        w = w > 1 ? w / 2 : 1, h = h > 1 ? h / 2 : 1;
        below += size_t(w) * size_t(h) * 3;
    }
    chain.storage = new (std::nothrow) uint8_t[below > 0 ? below : 1];
    if (!chain.storage) return false;
    chain.width[0] = width, chain.height[0] = height, chain.pixels[0] = picture;
    uint8_t* next = chain.storage;
    int level = 0;
    while (chain.width[level] > 1 || chain.height[level] > 1) {
        const int w = chain.width[level], h = chain.height[level];
        halveMipmapLevel(chain.pixels[level], w, h, next);
        ++level;
        chain.width[level] = w > 1 ? w / 2 : 1, chain.height[level] = h > 1 ? h / 2 : 1;
        chain.pixels[level] = next;
        next += size_t(chain.width[level]) * size_t(chain.height[level]) * 3;
    }
    chain.levelCount = level + 1;
    return true;
}

void freeMipmapChain(MipmapChain& chain) {
    delete[] chain.storage;
    chain = MipmapChain();
}
