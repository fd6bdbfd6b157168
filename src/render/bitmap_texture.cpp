// A bitmap made into a GL texture the same way on every platform. Render thread, context
// current.
#include <GL/gl.h>
#include <GL/glu.h>

#include "effects/geometry.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

int BitmapTexture::makeTexture(const uint8_t* rows) {
    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // bitmap rows are padded to 4 bytes
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE, rows);
    loaded = 1;
    return 1;
}
