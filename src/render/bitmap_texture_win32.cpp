// Bitmap resources of the program as GL textures. Render thread, context current.
#include <windows.h>

#include "effects/geometry.h"

int BitmapTexture::loadResource(int resourceId) {
    loaded = 0;
    HMODULE module = GetModuleHandleA(nullptr);
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(resourceId));
    if (!bitmap) return 0;
    BITMAP size = {};
    GetObjectA(bitmap, sizeof size, &size);
    DeleteObject(bitmap);  // only its size was wanted
    // Type 2 is RT_BITMAP.
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(2));
    HGLOBAL resource = found ? LoadResource(module, found) : nullptr;
    if (!resource) return 0;
    pixels = static_cast<const uint8_t*>(LockResource(resource));  // mapped for the process's life
    width = size.bmWidth;
    height = size.bmHeight;
    return makeTexture(pixels + 40);  // the rows follow the 40-byte header
}
