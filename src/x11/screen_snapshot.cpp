#include "x11/screen_snapshot.h"

#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "capture/desktop_snapshot.h"
#include "capture/picture_squeeze.h"

namespace {

// One 8-bit channel from a pixel by its mask.
uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!(mask >> shift & 1)) ++shift;
    const unsigned long maximum = mask >> shift;
    return uint32_t((pixel & mask) >> shift) * 255u / uint32_t(maximum);
}

// Blue, green, red, unused: what a Windows 32-bit DIB holds. A 24-bit TrueColor screen
// already reads so (32-bit pixels, least significant byte first); others are converted.
bool readsAsBgrx(const XImage* image) {
    return image->bits_per_pixel == 32 && image->byte_order == LSBFirst && image->red_mask == 0xFF0000 &&
           image->green_mask == 0xFF00 && image->blue_mask == 0xFF;
}

std::vector<uint32_t> convertToBgrx(XImage* image) {
    std::vector<uint32_t> pixels(size_t(image->width) * size_t(image->height));
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            pixels[size_t(y) * size_t(image->width) + size_t(x)] =
                channel(p, image->red_mask) << 16 | channel(p, image->green_mask) << 8 | channel(p, image->blue_mask);
        }
    return pixels;
}

bool allBlack(const BgrxPicture& picture) {
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = picture.pixels + size_t(y) * picture.stride;
        for (int x = 0; x < picture.width; ++x)
            if (row[4 * x] | row[4 * x + 1] | row[4 * x + 2]) return false;
    }
    return true;
}

bool squeezeIntoSnapshot(const BgrxPicture& picture, int width, int height) {
    const size_t bytes = snapshotBytes(width, height);
    uint8_t* pixels = bytes ? static_cast<uint8_t*>(std::malloc(bytes)) : nullptr;
    if (!pixels || !squeezePicture(picture, width, height, pixels)) {
        std::free(pixels);
        return false;
    }
    desktopSnapshot = {width, height, pixels};
    return true;
}

}  // namespace

bool captureScreen(Display* display, bool previewMode) {
    int width, height;
    snapshotSize(previewMode, width, height);
    const int screen = DefaultScreen(display);
    XImage* image = XGetImage(display, RootWindow(display, screen), 0, 0, unsigned(DisplayWidth(display, screen)),
                              unsigned(DisplayHeight(display, screen)), AllPlanes, ZPixmap);
    if (!image) return false;
    std::vector<uint32_t> converted;
    BgrxPicture picture = {reinterpret_cast<const uint8_t*>(image->data), image->width, image->height,
                           size_t(image->bytes_per_line)};
    if (!readsAsBgrx(image)) {
        converted = convertToBgrx(image);
        picture = {reinterpret_cast<const uint8_t*>(converted.data()), image->width, image->height,
                   size_t(image->width) * 4};
    }
    const bool taken = !allBlack(picture) && squeezeIntoSnapshot(picture, width, height);
    XDestroyImage(image);
    return taken;
}
