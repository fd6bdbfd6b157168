// The picture of the desktop taken at start-up: rows from the top of the screen
// down, each pixel blue, green, red. Taken on the main thread before the render
// thread starts; the render thread turns it into the scene texture and frees it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "capture/picture_squeeze.h"

struct DesktopSnapshot {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t* pixels = nullptr;
};
extern DesktopSnapshot desktopSnapshot;

// A rectangle of the screen in the coordinates of the whole (virtual) screen, whose
// left and top are negative where a monitor lies left of or above the primary one.
struct ScreenArea {
    int32_t left, top, width, height;
};

// No GL implementation takes a texture side beyond its largest texture size; this is
// far past any screen, and keeps every stored size within what capture and mipmaps hold.
const int32_t maxSnapshotSide = 8192;

// Bytes of a width x height snapshot, or 0 when a side is not positive or beyond
// maxSnapshotSide (the capture then takes no snapshot).
size_t snapshotBytes(int width, int height);

// A picture of the screen at its own size squeezed into a width x height snapshot; an empty
// snapshot when the picture has no pixels or the size cannot be held.
DesktopSnapshot squeezeSnapshot(const BgrxPicture& screen, int width, int height);

// The texture size: the settings' own, or 128 x 64 in a preview.
void snapshotSize(bool previewMode, int& width, int& height);

// The part of the screen the snapshot shows: exactly what the full-screen window covers
// (on several monitors, all of them). A preview, a small child window of the control
// panel, shows the primary screen, as does a window with no area.
ScreenArea snapshotArea(bool previewMode, const ScreenArea& window, const ScreenArea& primaryScreen);

// Whether any byte of the snapshot is not black: a blank copy of the screen (the secure
// desktop's, a compositor's) has nothing to animate.
bool snapshotShowsSomething(const DesktopSnapshot& snapshot);

// Whether a desktop (a window station's, by name) is the user's own. When the PC locks on
// resume the saver runs on a desktop of its own, where a copy of the screen is blank.
bool isUsersDesktopName(const char* name);
