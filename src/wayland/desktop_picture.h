// The desktop on Wayland, taken before the saver's windows show: a screenshot of every
// output by `grim` (the wlroots compositors' screenshot tool), read with libpng; then the
// part each output shows, squeezed as every other snapshot. Main thread.
#pragma once
#include <cstdint>
#include <vector>

#include "capture/desktop_snapshot.h"
#include "native/picture_file.h"

// The whole desktop's layout in blue, green, red, unused pixels, rows top first.
using DesktopPicture = DecodedPicture;

// The most bytes a PNG of `maxPixels` 8-bit pixels with alpha can take, stored uncompressed:
// the bound on what is read from grim.
size_t pngBytesBound(uint64_t maxPixels);

// Runs grim and reads its picture, of at most `maxPixels` (what the outputs can show); false
// when there is none (no grim, a compositor that lets no program see the screen, a picture
// that cannot be read or is larger, or none within seconds).
bool takeDesktopPicture(uint64_t maxPixels, DesktopPicture& picture);

// Reads a child's output until it closes it, at most `maxBytes`; false on the deadline, an
// end request or more bytes.
bool readAll(int fd, size_t maxBytes, std::vector<uint8_t>& bytes);

// Squeezes the part of `picture` that `output` covers into desktopSnapshot, the picture
// showing `layout` (as grim shows every output, on a scale of its own). False when that
// part reads all black or lies outside the picture: the logo then stands in.
bool snapshotOutput(const DesktopPicture& picture, const ScreenArea& layout, const ScreenArea& output);
