// The picture of the desktop taken at start-up: rows from the top of the screen
// down, each pixel blue, green, red. Taken on the main thread before the render
// thread starts; the render thread turns it into the scene texture and frees it.
#pragma once
#include <cstddef>
#include <cstdint>

struct DesktopSnapshot {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t* pixels = nullptr;
};
extern DesktopSnapshot desktopSnapshot;

void captureDesktop();

// Bytes of a width x height snapshot, or 0 when the size is not positive or so
// large that the buffers would not fit (the capture then takes no snapshot).
size_t snapshotBytes(int width, int height);

// 32-bit blue, green, red, unused pixels to packed blue, green, red.
void packBgrxToBgr(const uint8_t* bgrx, size_t pixelCount, uint8_t* bgr);
