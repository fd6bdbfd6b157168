// Takes the desktop snapshot through GDI: the primary screen squeezed into the
// texture size, read back in one piece. Main thread, during saver window creation.
#include "capture/desktop_snapshot.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "host/saver_host_win32.h"
#include "settings/saver_settings.h"

// Reads the whole off-screen bitmap as 32-bit rows, top row first.
static bool readBitmap(HDC memory, HBITMAP bitmap, int width, int height, uint8_t* bgrx) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return GetDIBits(memory, bitmap, 0, UINT(height), bgrx, &info, DIB_RGB_COLORS) == height;
}

void captureDesktop() {
    const int width = saverHost.previewMode ? 128 : saverSettings.screenTextureWidth;
    const int height = saverHost.previewMode ? 64 : saverSettings.screenTextureHeight;
    const size_t bytes = snapshotBytes(width, height);
    if (bytes == 0) return;  // no snapshot: the scene is drawn untextured

    HWND desktop = GetDesktopWindow();
    HDC screen = GetWindowDC(desktop);
    RECT rect;
    GetWindowRect(desktop, &rect);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    StretchBlt(memory, 0, 0, width, height, screen, 0, 0, rect.right, rect.bottom, SRCCOPY);
    SelectObject(memory, previous);  // GetDIBits wants the bitmap out of any context

    uint8_t* bgrx = static_cast<uint8_t*>(std::malloc(bytes / 3 * 4));
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytes));
    if (bgrx && pixels && bitmap && readBitmap(memory, bitmap, width, height, bgrx)) {
        packBgrxToBgr(bgrx, size_t(width) * size_t(height), pixels);
        desktopSnapshot = {width, height, pixels};
        pixels = nullptr;
    }
    std::free(bgrx);
    std::free(pixels);
    ReleaseDC(desktop, screen);
    DeleteDC(memory);
    DeleteObject(bitmap);
}
