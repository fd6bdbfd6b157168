// GDI side of the desktop snapshot. Main thread.
#pragma once
#include <windows.h>

#include "capture/desktop_snapshot.h"

// Copies `area` of the source once, at its own size; no copy when GDI cannot hold it.
ScreenCopy copyScreenArea(HDC source, const ScreenArea& area);

// Copies `area` of the source and squeezes it into width x height in the snapshot's
// layout; an empty snapshot when the size cannot be held.
DesktopSnapshot captureArea(HDC source, const ScreenArea& area, int width, int height);

// Copies the desktop for the snapshot, before the saver window covers the screen, and leaves
// the squeeze to the render thread (pendingSnapshot). `window` is the area the full-screen
// window is about to cover.
void captureDesktop(bool previewMode, const ScreenArea& window);
