// The desktop on Wayland, taken before the saver's windows show: a screenshot of every
// output by `grim` (the wlroots compositors' screenshot tool), read with libpng; then the
// part each output shows, squeezed as every other snapshot. Main thread.
#pragma once
#include <cstdint>
#include <vector>

#include "capture/desktop_snapshot.h"

// The whole desktop's layout in blue, green, red, unused pixels, rows top first.
struct DesktopPicture {
    std::vector<uint8_t> pixels;
    int width = 0, height = 0;
};

// Runs grim and reads its picture; false when there is none (no grim, a compositor that
// lets no program see the screen, a picture that cannot be read, or none within seconds).
bool takeDesktopPicture(DesktopPicture& picture);

// Squeezes the part of `picture` that `output` covers into desktopSnapshot, the picture
// showing `layout` (as grim shows every output, on a scale of its own). False when that
// part reads all black or lies outside the picture: the logo then stands in.
bool snapshotOutput(const DesktopPicture& picture, const ScreenArea& layout, const ScreenArea& output);
