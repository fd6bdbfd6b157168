// Takes the desktop snapshot through GDI: the screen area copied once into a DIB section,
// then squeezed to the texture size in portable code. The copy is made on the main thread
// during saver window creation.
#include "capture/desktop_snapshot_win32.h"

static void deleteSection(void* section) { DeleteObject(static_cast<HBITMAP>(section)); }

ScreenCopy copyScreenArea(HDC source, const ScreenArea& area) {
    if (area.width <= 0 || area.height <= 0) return {};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = area.width;
    info.bmiHeader.biHeight = -area.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section) return {};
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, area.width, area.height, source, area.left, area.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory, previous);
    DeleteDC(memory);
    ScreenCopy copy;
    copy.picture = {static_cast<const uint8_t*>(bits), area.width, area.height, size_t(area.width) * 4};
    copy.release = deleteSection;
    copy.owner = section;
    return copy;
}

DesktopSnapshot captureArea(HDC source, const ScreenArea& area, int width, int height) {
    if (snapshotBytes(width, height) == 0) return {};
    ScreenCopy copy = copyScreenArea(source, area);
    return squeezeScreenCopy(copy, width, height);
}

void captureDesktop(bool previewMode, const ScreenArea& window) {
    int width, height;
    snapshotSize(previewMode, width, height);
    if (snapshotBytes(width, height) == 0) return;  // no snapshot: the scene is drawn in white
    RECT primary;
    GetWindowRect(GetDesktopWindow(), &primary);
    const ScreenArea primaryScreen = {0, 0, primary.right, primary.bottom};
    HDC screen = GetDC(nullptr);
    pendingSnapshot.copy = copyScreenArea(screen, snapshotArea(previewMode, window, primaryScreen));
    pendingSnapshot.width = width;
    pendingSnapshot.height = height;
    ReleaseDC(nullptr, screen);
}
