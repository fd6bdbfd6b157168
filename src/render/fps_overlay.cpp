#include "render/fps_overlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
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

const Glyph* findGlyph(char character) {
    for (const Glyph& glyph : font)
        if (glyph.character == character) return &glyph;
    return nullptr;
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

// The text in white on a black box at `scale` screen pixels a font pixel: a luminance
// byte a pixel, bottom row first, as glDrawPixels takes it. One picture drawn in one call
// costs a fraction of a glyph-by-glyph glBitmap drawing in Mesa.
void paintPicture(FpsOverlay& overlay, const std::string& text, int scale) {
    const std::vector<std::string> rows = lines(text);
    size_t longest = 0;
    for (const std::string& row : rows) longest = std::max(longest, row.size());
    overlay.pictureWidth = (2 * margin + int(longest) * advance) * scale;
    overlay.pictureHeight = (2 * margin + int(rows.size() - 1) * lineAdvance + glyphHeight) * scale;
    overlay.picture.assign(size_t(overlay.pictureWidth) * size_t(overlay.pictureHeight), 0);
    const auto light = [&](int x, int y) {  // a font pixel, counted from the bottom left
        for (int dy = 0; dy < scale; ++dy)
            std::fill_n(&overlay.picture[size_t(y * scale + dy) * size_t(overlay.pictureWidth) + size_t(x * scale)],
                        scale, uint8_t(255));
    };
    for (size_t row = 0; row < rows.size(); ++row) {
        const int baseline = margin + int(rows.size() - 1 - row) * lineAdvance;
        for (size_t column = 0; column < rows[row].size(); ++column) {
            const Glyph* glyph = findGlyph(rows[row][column]);
            for (int y = 0; glyph && y < glyphHeight; ++y)
                for (int x = 0; x < glyphWidth; ++x)
                    if (glyph->rows[y * (glyphWidth + 1) + x] == '#')
                        light(margin + int(column) * advance + x, baseline + glyphHeight - 1 - y);
        }
    }
    overlay.pictureText = text, overlay.pictureScale = scale;
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

void drawFpsOverlay(FpsOverlay& overlay, int viewportWidth, int viewportHeight) {
    const std::string text = fpsOverlayText(overlay);
    if (text.empty() || viewportWidth <= 0 || viewportHeight <= 0) return;
    const int scale = std::max(1, viewportHeight / 256);  // 3 on a 768-line screen, 1 in a preview
    if (text != overlay.pictureText || scale != overlay.pictureScale) paintPicture(overlay, text, scale);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT | GL_PIXEL_MODE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    for (GLenum state : {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_FOG, GL_BLEND, GL_ALPHA_TEST})
        glDisable(state);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelZoom(1, 1);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewportWidth, 0, viewportHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2i(0, 0);
    glDrawPixels(overlay.pictureWidth, overlay.pictureHeight, GL_LUMINANCE, GL_UNSIGNED_BYTE, overlay.picture.data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();  // the matrix mode too
}
