// Takes the desktop snapshot through GDI: the screen area copied once into a DIB section,
// then squeezed to the texture size in portable code. Main thread, during saver window
// creation.
#include "capture/desktop_snapshot_win32.h"

#include <cstdlib>

#include "capture/picture_squeeze.h"

// A 32-bit top-down DIB section of the area's size with a copy of the area in it.
static HBITMAP copyArea(HDC source, const ScreenArea& area, void*& bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = area.width;
    info.bmiHeader.biHeight = -area.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section) return nullptr;
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, area.width, area.height, source, area.left, area.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory, previous);
    DeleteDC(memory);
    return section;
}

DesktopSnapshot captureArea(HDC source, const ScreenArea& area, int width, int height) {
    const size_t bytes = snapshotBytes(width, height);
    if (bytes == 0 || area.width <= 0 || area.height <= 0) return {};
    void* bits = nullptr;
    HBITMAP section = copyArea(source, area, bits);
    if (!section) return {};
    const BgrxPicture picture = {static_cast<const uint8_t*>(bits), area.width, area.height,
                                 size_t(area.width) * 4};
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytes));
    DesktopSnapshot snapshot = {};
    if (pixels && squeezePicture(picture, width, height, pixels))
        snapshot = {width, height, pixels};
    else
        std::free(pixels);
    DeleteObject(section);
    return snapshot;
}

void captureDesktop(bool previewMode, const ScreenArea& window) {
    int width, height;
    snapshotSize(previewMode, width, height);
    RECT primary;
    GetWindowRect(GetDesktopWindow(), &primary);
    const ScreenArea primaryScreen = {0, 0, primary.right, primary.bottom};
    HDC screen = GetDC(nullptr);
    desktopSnapshot = captureArea(screen, snapshotArea(previewMode, window, primaryScreen), width, height);
    ReleaseDC(nullptr, screen);
}
