// The mipmap chain of the scene texture, built by a 2x2 box filter in portable code and
// uploaded level by level. Each level is the same, byte for byte, as GLU's
// gluBuild2DMipmaps makes for a power-of-two picture of packed 3-byte pixels. Any thread.
#pragma once
#include <cstdint>

// Whether the chain can be built here: both sides powers of two (GLU rescales any other).
bool mipmapsBuildable(int width, int height);

// Replaces a level of packed 3-byte pixels by the next one, in the same buffer; halves each
// side that is above 1. Call only while the level is larger than 1 x 1.
void halveMipmapLevel(uint8_t* pixels, int& width, int& height);
