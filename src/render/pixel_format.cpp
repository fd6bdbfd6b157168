#include "render/pixel_format.h"

int scorePixelFormat(const PixelFormatTraits& format) {
    const uint32_t needed = formatSupportOpenGL | formatDrawToWindow | formatDoubleBuffer;
    if ((format.flags & needed) != needed || format.pixelType != 0) return -1;
    int score = format.colorBits + 2 * format.depthBits;
    if (format.colorBits > 16) score += (16 - format.colorBits) / 2;
    if (!(format.flags & formatGeneric))
        score += 2000;
    else if (format.flags & formatGenericAccelerated)
        score += 1000;
    return score;
}

int pickBestPixelFormat(const PixelFormatTraits* formats, int count) {
    int bestScore = 0, bestIndex = 0;
    for (int i = 0; i < count; ++i) {
        int score = scorePixelFormat(formats[i]);
        if (score > bestScore) bestScore = score, bestIndex = i + 1;
    }
    return bestIndex;
}
