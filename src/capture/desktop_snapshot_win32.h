// GDI side of the desktop snapshot. Main thread.
#pragma once
#include <windows.h>

#include "capture/desktop_snapshot.h"

// Squeezes the source's top-left sourceWidth x sourceHeight into width x height and reads
// it back in the snapshot's layout; an empty snapshot when the size cannot be held.
DesktopSnapshot captureArea(HDC source, int sourceWidth, int sourceHeight, int width, int height);
