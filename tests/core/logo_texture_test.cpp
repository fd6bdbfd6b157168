// The logo built into the native program: made into a texture as the Windows program
// makes bitmap resource 115, rows as the file stores them (the picture's bottom first).
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "effects/geometry.h"
#include "osmesa_fixture.h"

TEST(LogoTexture, ResourceOneFifteenIsTheLogoWithItsStoredRowsAsTextureRows) {
    OffscreenGL gl(8, 8);
    BitmapTexture logo;
    ASSERT_EQ(logo.loadResource(115), 1);
    EXPECT_EQ(logo.loaded, 1);
    ASSERT_EQ(logo.width, 128);
    ASSERT_EQ(logo.height, 128);
    ASSERT_NE(logo.textureName, 0u);

    std::vector<uint8_t> texels(128 * 128 * 3);
    glBindTexture(GL_TEXTURE_2D, logo.textureName);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, texels.data());
    // The file ends with its pixel rows (24-bit rows of 128 pixels need no padding).
    std::ifstream file(QG_SOURCE_DIR "/src/resources/logo.bmp", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), texels.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - long(texels.size()), bytes.end()), texels);
    // The picture is not one colour: a shifted row order would show.
    EXPECT_NE(std::vector<uint8_t>(texels.begin(), texels.begin() + 384),
              std::vector<uint8_t>(texels.end() - 384, texels.end()));

    BitmapTexture missing;
    EXPECT_EQ(missing.loadResource(121), 0);  // the About banner is a Windows dialog's only
    EXPECT_EQ(missing.textureName, 0u);
}
