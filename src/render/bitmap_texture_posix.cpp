// The native program's bitmaps: BMP files built into it (see cmake/embed_file.cmake), made
// into GL textures exactly as the Windows program makes its bitmap resources: the rows
// as the file stores them, bottom row first. Render thread, context current.
#include <cstddef>
#include <cstring>

#include "effects/geometry.h"

extern const uint8_t logoBitmap[];
extern const size_t logoBitmapSize;

namespace {

struct EmbeddedBitmap {
    int resourceId;
    const uint8_t* file;
    const size_t* size;
};
const EmbeddedBitmap embeddedBitmaps[] = {{115, logoBitmap, &logoBitmapSize}};

int32_t fileInt32(const uint8_t* at) {
    int32_t value;
    std::memcpy(&value, at, 4);  // BMP fields are little-endian, as are our targets
    return value;
}

// Size and first pixel row of an uncompressed 24-bit BMP file; false for any other.
bool readBitmapFile(const uint8_t* file, size_t size, int32_t& width, int32_t& height, const uint8_t*& rows) {
    if (size < 54 || file[0] != 'B' || file[1] != 'M') return false;
    width = fileInt32(file + 18);
    height = fileInt32(file + 22);
    const int bitsPerPixel = file[28] | file[29] << 8;
    const int32_t compression = fileInt32(file + 30), offset = fileInt32(file + 10);
    if (bitsPerPixel != 24 || compression != 0 || width <= 0 || height == 0) return false;
    if (height < 0) height = -height;
    const size_t rowBytes = (size_t(width) * 3 + 3) & ~size_t(3);
    if (offset < 54 || size_t(offset) + rowBytes * size_t(height) > size) return false;
    rows = file + offset;
    return true;
}

}  // namespace

int BitmapTexture::loadResource(int resourceId) {
    loaded = 0;
    for (const EmbeddedBitmap& bitmap : embeddedBitmaps) {
        int32_t w, h;
        const uint8_t* rows;
        if (bitmap.resourceId != resourceId || !readBitmapFile(bitmap.file, *bitmap.size, w, h, rows)) continue;
        pixels = rows;
        width = w;
        height = h;
        return makeTexture(rows);
    }
    return 0;
}
