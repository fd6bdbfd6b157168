// The snapshot record, its size and the part of the screen it shows, apart from GDI.
#include "capture/desktop_snapshot.h"

#include "settings/saver_settings.h"

DesktopSnapshot desktopSnapshot;

size_t snapshotBytes(int width, int height) {
    if (width <= 0 || height <= 0 || width > maxSnapshotSide || height > maxSnapshotSide) return 0;
    return size_t(width) * size_t(height) * 3;
}

void snapshotSize(bool previewMode, int& width, int& height) {
    width = previewMode ? 128 : saverSettings.screenTextureWidth;
    height = previewMode ? 64 : saverSettings.screenTextureHeight;
}

ScreenArea snapshotArea(bool previewMode, const ScreenArea& window, const ScreenArea& primaryScreen) {
    if (previewMode || window.width <= 0 || window.height <= 0) return primaryScreen;
    return window;
}
