// GDI side of the desktop snapshot. Main thread.
#pragma once
#include <windows.h>

#include "capture/desktop_snapshot.h"
#include "capture/wallpaper_win32.h"

// Copies `area` of the source a band of rows at a time and squeezes each band into width x
// height in the snapshot's layout; an empty snapshot when the size cannot be held.
DesktopSnapshot captureArea(HDC source, const ScreenArea& area, int width, int height);

// The snapshot of `area` at width x height: the copy of the screen, or, where that is blank or
// taken on another desktop than the user's, the user's desktop background, its wallpaper
// decoded within `bound`; an empty snapshot when neither shows anything (or the size cannot
// be held).
DesktopSnapshot snapshotOfArea(const ScreenArea& area, int width, int height, const WallpaperBound& bound = {});

// Takes the desktop snapshot before the saver window covers the screen. `window` is the area
// the full-screen window is about to cover. A copy of the screen that is blank, or taken on
// another desktop than the user's, gives way to the user's desktop background. False when
// even that shows nothing: the logo stands in.
bool captureDesktop(bool previewMode, const ScreenArea& window, const WallpaperBound& bound = {});
