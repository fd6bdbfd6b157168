// An offscreen OpenGL context (OSMesa) for drawing real frames in native tests.
#pragma once
#include <GL/osmesa.h>
#include <GL/gl.h>

#include <cstdint>
#include <vector>

struct Rgb { int r, g, b; };
// Pixel (x, y), counted from the top-left, of an RGBA buffer stored bottom row first, as GL reads.
inline Rgb rgbAt(const std::vector<uint8_t>& rgba, int width, int height, int x, int y) {
    const uint8_t* p = &rgba[(size_t(height - 1 - y) * width + x) * 4];
    return {p[0], p[1], p[2]};
}

struct OffscreenGL {
    int width, height;
    std::vector<uint8_t> buffer;  // RGBA, bottom row first
    OSMesaContext context;

    OffscreenGL(int w, int h) : width(w), height(h), buffer(size_t(w) * h * 4) {
        context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
        OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, w, h);
        glViewport(0, 0, w, h);
    }
    ~OffscreenGL() { OSMesaDestroyContext(context); }

    using Rgb = ::Rgb;
    // Pixel at (x, y) counted from the top-left, as on a screen.
    Rgb at(int x, int y) const {
        glFinish();
        return rgbAt(buffer, width, height, x, y);
    }
    bool isBlack(int x, int y) const {
        Rgb c = at(x, y);
        return c.r + c.g + c.b == 0;
    }
};

// A 2x2 texture: red top-left, green top-right, blue bottom-left, white bottom-right,
// rows given top first so that t = 0 is the top, as the scene's texture.
inline unsigned quadrantTexture() {
    const uint8_t texels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    unsigned name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    return name;
}
