// The snapshot record, its size and the part of the screen it shows, apart from GDI.
#include "capture/desktop_snapshot.h"

#include <cstdlib>

#include "settings/saver_settings.h"

DesktopSnapshot desktopSnapshot;

size_t snapshotBytes(int width, int height) {
    if (width <= 0 || height <= 0 || width > maxSnapshotSide || height > maxSnapshotSide) return 0;
    return size_t(width) * size_t(height) * 3;
}

DesktopSnapshot squeezeSnapshot(const BgrxPicture& screen, int width, int height) {
    const size_t bytes = snapshotBytes(width, height);
    if (!screen.pixels || bytes == 0) return {};
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytes));
    if (pixels && squeezePicture(screen, width, height, pixels)) return {width, height, pixels};
    std::free(pixels);
    return {};
}

void snapshotSize(bool previewMode, int& width, int& height) {
    width = previewMode ? 128 : saverSettings.screenTextureWidth;
    height = previewMode ? 64 : saverSettings.screenTextureHeight;
}

ScreenArea snapshotArea(bool previewMode, const ScreenArea& window, const ScreenArea& primaryScreen) {
    if (previewMode || window.width <= 0 || window.height <= 0) return primaryScreen;
    return window;
}

bool snapshotShowsSomething(const DesktopSnapshot& snapshot) {
    const size_t bytes = snapshotBytes(snapshot.width, snapshot.height);
    if (!snapshot.pixels) return false;
    for (size_t i = 0; i < bytes; ++i)
        if (snapshot.pixels[i]) return true;
    return false;
}

bool isUsersDesktopName(const char* name) {
    static const char users[] = "default";
    for (size_t i = 0; i < sizeof users; ++i) {
        const char c = name[i];
        if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != users[i]) return false;
    }
    return true;
}
