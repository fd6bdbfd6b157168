#include "render/fps_overlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <vector>

namespace {

// The font: seven rows of five, top row first, '#' lit; only what the text needs.
struct Glyph {
    char character;
    const char* rows;
};
const Glyph font[] = {
    {'0', ".###. #...# #..## #.#.# ##..# #...# .###."}, {'1', "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'2', ".###. #...# ....# ...#. ..#.. .#... #####"}, {'3', "####. ....# ....# .###. ....# ....# ####."},
    {'4', "...#. ..##. .#.#. #..#. ##### ...#. ...#."}, {'5', "##### #.... ####. ....# ....# #...# .###."},
    {'6', "..##. .#... #.... ####. #...# #...# .###."}, {'7', "##### ....# ...#. ..#.. .#... .#... .#..."},
    {'8', ".###. #...# #...# .###. #...# #...# .###."}, {'9', ".###. #...# #...# .#### ....# ...#. .##.."},
    {'.', "..... ..... ..... ..... ..... .##.. .##.."}, {':', "..... .##.. .##.. ..... .##.. .##.. ....."},
    {'%', "##... ##..# ...#. ..#.. .#... #..## ...##"}, {'F', "##### #.... #.... ####. #.... #.... #...."},
    {'P', "####. #...# #...# ####. #.... #.... #...."}, {'S', ".#### #.... #.... .###. ....# ....# ####."},
    {'C', ".###. #...# #.... #.... #.... #...# .###."}, {'U', "#...# #...# #...# #...# #...# #...# .###."},
};
const int glyphWidth = 5, glyphHeight = 7, advance = 6, lineAdvance = 10, margin = 4;  // font pixels

// A glyph as glBitmap takes it at `scale` screen pixels a font pixel: bottom row first,
// each row in whole bytes, leftmost pixel in the top bit. Blank for a character it lacks.
std::vector<uint8_t> glyphBitmap(char character, int scale) {
    const int rowBytes = (glyphWidth * scale + 7) / 8;
    std::vector<uint8_t> bits(size_t(rowBytes) * glyphHeight * scale);
    const Glyph* glyph = std::find_if(std::begin(font), std::end(font),
                                      [&](const Glyph& g) { return g.character == character; });
    if (glyph == std::end(font)) return bits;
    for (int y = 0; y < glyphHeight * scale; ++y) {
        const char* row = glyph->rows + (glyphHeight - 1 - y / scale) * (glyphWidth + 1);
        for (int x = 0; x < glyphWidth * scale; ++x)
            if (row[x / scale] == '#') bits[size_t(y) * rowBytes + x / 8] |= uint8_t(0x80 >> x % 8);
    }
    return bits;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> found(1);
    for (char c : text)
        if (c == '\n')
            found.emplace_back();
        else
            found.back().push_back(c);
    return found;
}

void drawText(const std::vector<std::string>& text, int scale) {
    for (size_t line = 0; line < text.size(); ++line) {
        glRasterPos2i(margin * scale, (margin + int(text.size() - 1 - line) * lineAdvance) * scale);
        for (char c : text[line])
            glBitmap(glyphWidth * scale, glyphHeight * scale, 0, 0, float(advance * scale), 0,
                     glyphBitmap(c, scale).data());
    }
}

}  // namespace

void countFpsFrame(FpsOverlay& overlay, double nowSeconds, double cpuSeconds) {
    if (overlay.sinceSeconds < 0) {
        overlay.sinceSeconds = nowSeconds, overlay.sinceCpuSeconds = cpuSeconds;
        return;
    }
    ++overlay.frames;
    const double elapsed = nowSeconds - overlay.sinceSeconds;
    if (elapsed < 1) return;
    overlay.framesPerSecond = overlay.frames / elapsed;
    overlay.cpuShare = (cpuSeconds - overlay.sinceCpuSeconds) / elapsed;
    overlay.sinceSeconds = nowSeconds, overlay.sinceCpuSeconds = cpuSeconds, overlay.frames = 0;
}

std::string fpsOverlayText(const FpsOverlay& overlay) {
    if (overlay.framesPerSecond < 0) return "";
    char text[64];
    std::snprintf(text, sizeof text, "FPS: %.1f\nCPU: %.0f%%", overlay.framesPerSecond, overlay.cpuShare * 100);
    return text;
}

void drawFpsOverlay(const FpsOverlay& overlay, int viewportWidth, int viewportHeight) {
    const std::vector<std::string> text = lines(fpsOverlayText(overlay));
    if (text[0].empty() || viewportWidth <= 0 || viewportHeight <= 0) return;
    const int scale = std::max(1, viewportHeight / 256);  // 3 on a 768-line screen, 1 in a preview
    size_t longest = 0;
    for (const std::string& line : text) longest = std::max(longest, line.size());
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_TRANSFORM_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    for (GLenum state : {GL_LIGHTING, GL_COLOR_MATERIAL, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_CULL_FACE, GL_FOG, GL_BLEND})
        glDisable(state);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewportWidth, 0, viewportHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // A black box under the text, so that it reads over any picture.
    glColor3f(0, 0, 0);
    glRecti(0, 0, (2 * margin + int(longest) * advance) * scale,
            (2 * margin + int(text.size() - 1) * lineAdvance + glyphHeight) * scale);
    glColor3f(1, 1, 1);  // before glRasterPos, which takes the colour of the bitmaps
    drawText(text, scale);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();  // the matrix mode too
}
