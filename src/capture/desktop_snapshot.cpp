// The snapshot record and its byte layout, apart from GDI.
#include "capture/desktop_snapshot.h"

DesktopSnapshot desktopSnapshot;

// The capture reads 4 bytes a pixel before packing 3; a GL texture side is far below
// this bound, and anything above it would be a buffer the size of the address space.
static const uint64_t maxSnapshotPixels = uint64_t(1) << 26;  // 8192 x 8192

size_t snapshotBytes(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    uint64_t pixels = uint64_t(width) * uint64_t(height);
    if (pixels > maxSnapshotPixels) return 0;
    return size_t(pixels * 3);
}

void packBgrxToBgr(const uint8_t* bgrx, size_t pixelCount, uint8_t* bgr) {
    for (size_t i = 0; i < pixelCount; ++i) {
        bgr[3 * i] = bgrx[4 * i];
        bgr[3 * i + 1] = bgrx[4 * i + 1];
        bgr[3 * i + 2] = bgrx[4 * i + 2];
    }
}
