// The mipmap chain of the scene texture, built by a 2x2 box filter in portable code, so
// that it can be made before the GL context exists and uploaded level by level. Each level
// is the same, byte for byte, as GLU's gluBuild2DMipmaps makes for a power-of-two picture
// of packed 3-byte pixels. Any thread.
#pragma once
#include <cstdint>

const int maxMipmapLevels = 32;

struct MipmapChain {
    int levelCount = 0;  // level 0 included; 0 when no chain was built
    int32_t width[maxMipmapLevels] = {};
    int32_t height[maxMipmapLevels] = {};
    const uint8_t* pixels[maxMipmapLevels] = {};  // level 0 is the picture itself
    uint8_t* storage = nullptr;                   // levels 1 and up, in one buffer
};

// Whether the chain can be built here: both sides powers of two (GLU rescales any other).
bool mipmapsBuildable(int width, int height);

// Every level of a width x height picture down to 1 x 1. False, with nothing built, for a
// size that is not buildable or when the memory cannot be had.
bool buildMipmapChain(const uint8_t* picture, int width, int height, MipmapChain& chain);
void freeMipmapChain(MipmapChain& chain);

// The level after a width x height one (each side above 1 halved) into `out`.
void halveMipmapLevel(const uint8_t* in, int width, int height, uint8_t* out);
