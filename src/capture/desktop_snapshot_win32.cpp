// Takes the desktop snapshot through GDI: the screen area copied a band of rows at a time
// into one small DIB section, each band squeezed to the texture size in portable code as it
// comes, so that the copy stays small however large the desktop. Main thread, during saver
// window creation.
#include "capture/desktop_snapshot_win32.h"

#include <algorithm>
#include <cstdlib>

#include "capture/wallpaper_win32.h"

// A band of a megabyte: three copies for a 1024 x 768 screen, as fast as one; on an
// 8K desktop the capture's peak stays a few megabytes where one copy took 265.
static const size_t bandBytes = size_t(1) << 20;

// One band's DIB section, selected into a memory DC.
struct BandCopy {
    HDC memory = nullptr;
    HBITMAP section = nullptr;
    HGDIOBJ previous = nullptr;
    uint8_t* bits = nullptr;
};

static bool openBandCopy(HDC source, int width, int rows, BandCopy& band) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -rows;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    band.section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!band.section) return false;
    band.bits = static_cast<uint8_t*>(bits);
    band.memory = CreateCompatibleDC(source);
    band.previous = SelectObject(band.memory, band.section);
    return true;
}

static void closeBandCopy(BandCopy& band) {
    if (band.memory) {
        SelectObject(band.memory, band.previous);
        DeleteDC(band.memory);
    }
    if (band.section) DeleteObject(band.section);
}

DesktopSnapshot captureArea(HDC source, const ScreenArea& area, int width, int height) {
    const size_t bytes = snapshotBytes(width, height);
    if (bytes == 0 || area.width <= 0 || area.height <= 0) return {};
    const size_t rowBytes = size_t(area.width) * 4;
    const int bandRows = int(std::min(size_t(area.height), std::max(size_t(1), bandBytes / rowBytes)));
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytes));
    BandSqueeze squeeze;
    BandCopy band;
    if (!pixels || !beginBandSqueeze(squeeze, area.width, area.height, width, height, pixels) ||
        !openBandCopy(source, area.width, bandRows, band)) {
        closeBandCopy(band);
        std::free(pixels);
        return {};
    }
    for (int top = 0; top < area.height; top += bandRows) {
        const int rows = std::min(bandRows, area.height - top);
        BitBlt(band.memory, 0, 0, area.width, rows, source, area.left, area.top + top, SRCCOPY);
        GdiFlush();
        squeezeBand(squeeze, {band.bits, area.width, rows, rowBytes}, top);
    }
    closeBandCopy(band);
    return {width, height, pixels};
}

DesktopSnapshot snapshotOfArea(const ScreenArea& area, int width, int height, const WallpaperBound& bound) {
    if (onUsersDesktop()) {
        HDC screen = GetDC(nullptr);
        DesktopSnapshot copy = captureArea(screen, area, width, height);
        ReleaseDC(nullptr, screen);
        if (!copy.pixels || snapshotShowsSomething(copy)) return copy;
        std::free(copy.pixels);
    }
    // A blank copy, or the secure desktop's: the user's own background stands in.
    DesktopSnapshot background = backgroundPicture(area, width, height, bound);
    if (snapshotShowsSomething(background)) return background;
    std::free(background.pixels);
    return {};
}

bool captureDesktop(bool previewMode, const ScreenArea& window, const WallpaperBound& bound) {
    int width, height;
    snapshotSize(previewMode, width, height);
    if (snapshotBytes(width, height) == 0) return true;  // no snapshot: the scene is drawn in white
    RECT primary;
    GetWindowRect(GetDesktopWindow(), &primary);
    const ScreenArea primaryScreen = {0, 0, primary.right, primary.bottom};
    desktopSnapshot = snapshotOfArea(snapshotArea(previewMode, window, primaryScreen), width, height, bound);
    return desktopSnapshot.pixels != nullptr;
}
