// The scene texture's mipmap chain against GLU's: every level of every size, read back
// from the texture, and the picture's first row at the top of each level.
#include "capture/desktop_snapshot.h"
#include "render/mipmap.h"
#include "render/scene.h"
#include "settings/settings_store.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "osmesa_fixture.h"

namespace {

std::vector<uint8_t> noise(int width, int height) {
    std::vector<uint8_t> bytes(size_t(width) * height * 3);
    uint32_t state = uint32_t(width * 7919 + height);
    for (uint8_t& b : bytes) b = uint8_t((state = state * 1103515245u + 12345u) >> 23);
    return bytes;
}

// Every level of the bound texture, as 3-byte pixels.
std::vector<std::vector<uint8_t>> readLevels() {
    std::vector<std::vector<uint8_t>> levels;
    for (int level = 0;; ++level) {
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        if (width == 0) return levels;
        levels.emplace_back(size_t(width) * height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, level, GL_BGR, GL_UNSIGNED_BYTE, levels.back().data());
    }
}

}  // namespace

TEST(Mipmaps, EveryLevelEqualsGlusAtEveryPowerOfTwoShape) {
    OffscreenGL gl{16, 16};
    SettingsStore::applyDefaults();
    const struct { int width, height; } sizes[] = {{1, 1},   {2, 1},    {1, 8},    {8, 1},     {4, 4},
                                                   {16, 8},  {8, 32},   {64, 2},   {512, 256}, {128, 64},
                                                   {2, 256}, {1024, 1024}};
    for (auto size : sizes) {
        std::vector<uint8_t> picture = noise(size.width, size.height);
        GLuint glus;
        glGenTextures(1, &glus);
        glBindTexture(GL_TEXTURE_2D, glus);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, size.width, size.height, GL_BGR, GL_UNSIGNED_BYTE, picture.data());
        std::vector<std::vector<uint8_t>> expected = readLevels();

        uint8_t* pixels = static_cast<uint8_t*>(std::malloc(picture.size()));
        std::copy(picture.begin(), picture.end(), pixels);
        desktopSnapshot = {size.width, size.height, pixels};
        uploadSnapshotTexture();  // binds its own texture
        std::vector<std::vector<uint8_t>> ours = readLevels();
        ASSERT_EQ(ours.size(), expected.size()) << size.width << "x" << size.height;
        for (size_t level = 0; level < ours.size(); ++level)
            EXPECT_EQ(ours[level], expected[level]) << size.width << "x" << size.height << " level " << level;
    }
}

TEST(Mipmaps, HalvingKeepsTheTopRowOnTopAndRoundsAsGluDoes) {
    // 2x2: top row red (0,0,200) and (0,0,201), bottom row green: one pixel of their mean.
    const uint8_t square[12] = {0, 0, 200, 0, 0, 201, 0, 100, 0, 0, 101, 0};
    uint8_t mean[3];
    halveMipmapLevel(square, 2, 2, mean);
    EXPECT_EQ(mean[0], 0);
    EXPECT_EQ(mean[1], 50);   // (0 + 0 + 100 + 101 + 2) / 4
    EXPECT_EQ(mean[2], 100);  // (200 + 201 + 0 + 0 + 2) / 4
    // A 4x2 level keeps its left half on the left.
    const uint8_t wide[24] = {255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0,
                              255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0};
    uint8_t halves[6];
    halveMipmapLevel(wide, 4, 2, halves);
    EXPECT_EQ(halves[0], 255);
    EXPECT_EQ(halves[3], 0);
    // A line rounds down: (3 + 4) / 2.
    const uint8_t line[6] = {3, 3, 3, 4, 4, 4};
    halveMipmapLevel(line, 2, 1, mean);
    EXPECT_EQ(mean[0], 3);

    MipmapChain chain;
    EXPECT_FALSE(buildMipmapChain(line, 301, 256, chain));  // GLU rescales such sizes
    const uint8_t column[12] = {};
    ASSERT_TRUE(buildMipmapChain(column, 1, 4, chain));
    EXPECT_EQ(chain.levelCount, 3);
    EXPECT_EQ(chain.height[2], 1);
    freeMipmapChain(chain);
}
