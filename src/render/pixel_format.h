// Choosing the pixel format of the saver window: a double-buffered RGBA OpenGL
// window format, hardware before generic, depth counted twice as much as colour.
#pragma once
#include <cstdint>

enum : uint32_t {
    formatDoubleBuffer = 0x1,
    formatDrawToWindow = 0x4,
    formatSupportOpenGL = 0x20,
    formatGeneric = 0x40,
    formatGenericAccelerated = 0x1000,
};

struct PixelFormatTraits {
    uint32_t flags;
    int pixelType;  // 0 = RGBA
    int colorBits;
    int depthBits;
};

// Score of a format, or -1 when it cannot serve the saver at all.
int scorePixelFormat(const PixelFormatTraits& format);

// Best of formats[0..count) as a 1-based format index; 0 when none scores above 0.
// Equal scores keep the lower index.
int pickBestPixelFormat(const PixelFormatTraits* formats, int count);
