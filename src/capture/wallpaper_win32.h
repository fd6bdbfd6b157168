// The Windows side of the desktop background: where the saver runs, and the user's
// wallpaper, its layout and background colour. Main thread.
#pragma once
#include "capture/desktop_snapshot.h"

// Whether this thread runs on the user's own desktop, not on the secure desktop of a PC
// that locks on resume. When that cannot be told, it is taken to be the user's.
bool onUsersDesktop();

// How long a wallpaper's decode may take; then it counts as unreadable.
const unsigned wallpaperDecodeMs = 2000;

// When a wallpaper's decode gives up: at `deadline` (GetTickCount's milliseconds; 0:
// wallpaperDecodeMs from its start), or as soon as `giveUp` (may be null) says so.
struct WallpaperBound {
    unsigned long deadline = 0;
    bool (*giveUp)() = nullptr;
};

// The user's desktop background of `area` in a width x height snapshot: the wallpaper as
// the user laid it out over the background colour on each monitor. Empty when there is
// neither a wallpaper that decodes within `bound` nor a background colour, or the size
// cannot be held. A wallpaper of more than maxPicturePixels is not decoded.
DesktopSnapshot backgroundPicture(const ScreenArea& area, int width, int height, const WallpaperBound& bound = {});
