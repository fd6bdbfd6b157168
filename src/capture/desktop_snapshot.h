// The picture of the desktop taken at start-up: rows from the top of the screen
// down, each pixel blue, green, red. Taken on the main thread before the render
// thread starts; the render thread turns it into the scene texture and frees it.
#pragma once
#include <cstdint>

struct DesktopSnapshot {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t* pixels = nullptr;
};
extern DesktopSnapshot desktopSnapshot;

void captureDesktop();
