// Takes the desktop snapshot through GDI: the primary screen squeezed into the
// texture size, read back in one piece. Main thread, during saver window creation.
#include "capture/desktop_snapshot_win32.h"

#include <cstdlib>

#include "host/saver_host_win32.h"
#include "settings/saver_settings.h"

// Reads a whole bitmap as 32-bit rows, top row first.
static bool readBitmap(HDC context, HBITMAP bitmap, int width, int height, uint8_t* bgrx) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return GetDIBits(context, bitmap, 0, UINT(height), bgrx, &info, DIB_RGB_COLORS) == height;
}

DesktopSnapshot captureArea(HDC source, int sourceWidth, int sourceHeight, int width, int height) {
    const size_t bytes = snapshotBytes(width, height);
    if (bytes == 0) return {};
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    // The memory context keeps its default stretch mode: reduced pixels are ANDed.
    StretchBlt(memory, 0, 0, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    SelectObject(memory, previous);  // GetDIBits wants the bitmap out of any context

    DesktopSnapshot snapshot = {};
    uint8_t* bgrx = static_cast<uint8_t*>(std::malloc(bytes / 3 * 4));
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytes));
    if (bgrx && pixels && bitmap && readBitmap(memory, bitmap, width, height, bgrx)) {
        packBgrxToBgr(bgrx, size_t(width) * size_t(height), pixels);
        snapshot = {width, height, pixels};
        pixels = nullptr;
    }
    std::free(bgrx);
    std::free(pixels);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return snapshot;
}

void captureDesktop() {
    const int width = saverHost.previewMode ? 128 : saverSettings.screenTextureWidth;
    const int height = saverHost.previewMode ? 64 : saverSettings.screenTextureHeight;
    HWND desktop = GetDesktopWindow();
    HDC screen = GetWindowDC(desktop);
    RECT rect;
    GetWindowRect(desktop, &rect);
    desktopSnapshot = captureArea(screen, rect.right, rect.bottom, width, height);
    ReleaseDC(desktop, screen);
}
