// Bitmap resources of the program as GL textures. Render thread, context current.
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include "effects/geometry.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

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
    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // bitmap rows are padded to 4 bytes
    // Rows after the 40-byte header, bottom row first: texture row 0 is the picture's bottom.
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels + 40);
    loaded = 1;
    return 1;
}
