// Picture files decoded for both native hosts: PNG and JPEG in their usual forms come out
// as blue, green, red, unused; broken, cut-short and oversized files are refused without a
// word on stderr, the size before any pixel.
#include "native/picture_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "picture_fixture.h"

namespace {

uint32_t rgbAt(const DecodedPicture& picture, int x, int y) {
    const uint8_t* p = picture.pixels.data() + (size_t(y) * size_t(picture.width) + size_t(x)) * 4;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

bool near(uint32_t rgb, uint32_t expected) { return nearRgb(rgb, expected, 8); }

// Decodes, and says whether anything reached stderr meanwhile.
bool decodeQuietly(const std::vector<uint8_t>& bytes, uint64_t maxPixels, DecodedPicture& picture, bool& spoke,
                   bool (*giveUp)() = nullptr) {
    testing::internal::CaptureStderr();
    const bool decoded = decodePicture(bytes.data(), bytes.size(), maxPixels, picture, giveUp);
    spoke = !testing::internal::GetCapturedStderr().empty();
    return decoded;
}

long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

bool giveUpAtOnce() { return true; }

}  // namespace

TEST(PictureFile, PngAndJpegInTheirUsualFormsComeOutUpright) {
    bool spoke;
    DecodedPicture picture;
    for (const char* name : {"rgb.png", "palette.png", "rgb16.png", "interlaced.png", "baseline.jpg",
                             "progressive.jpg"}) {
        ASSERT_TRUE(decodeQuietly(pictureFixture(name), maxPicturePixels, picture, spoke)) << name;
        EXPECT_FALSE(spoke);
        ASSERT_TRUE(picture.width == 64 && picture.height == 48 && picture.pixels.size() == size_t(64 * 48 * 4))
            << name << " " << picture.width << "x" << picture.height;
        EXPECT_TRUE(near(rgbAt(picture, 5, 5), 0xD03030)) << name << std::hex << " " << rgbAt(picture, 5, 5);
        EXPECT_TRUE(near(rgbAt(picture, 60, 5), 0x30D030)) << name;
        EXPECT_TRUE(near(rgbAt(picture, 5, 44), 0xD0D030)) << name;
        EXPECT_TRUE(near(rgbAt(picture, 60, 44), 0x3030D0)) << name;
    }
    // A JPEG decoded smaller, as far as both sides stay at least the least side asked for.
    const std::vector<uint8_t> jpeg = pictureFixture("baseline.jpg");
    ASSERT_TRUE(decodePicture(jpeg.data(), jpeg.size(), maxPicturePixels, picture, nullptr, 20));
    EXPECT_EQ(picture.width, 32);  // a quarter would make the height 12
    EXPECT_EQ(picture.height, 24);
    EXPECT_TRUE(near(rgbAt(picture, 30, 22), 0x3030D0));
    for (const char* name : {"grey-alpha.png", "grey.jpg"}) {
        ASSERT_TRUE(decodeQuietly(pictureFixture(name), maxPicturePixels, picture, spoke)) << name;
        const uint32_t topLeft = rgbAt(picture, 5, 5), bottomLeft = rgbAt(picture, 5, 44);
        EXPECT_EQ(topLeft, (topLeft & 0xFF) * 0x010101u) << name;  // grey
        EXPECT_GT(bottomLeft & 0xFF, topLeft & 0xFF) << name;      // yellow is the brighter
    }
}

TEST(PictureFile, BrokenCutShortAndOversizedFilesAreRefusedQuietly) {
    bool spoke;
    DecodedPicture picture;
    for (const char* name : {"rgb.png", "progressive.jpg"}) {
        const std::vector<uint8_t> whole = pictureFixture(name);
        for (size_t kept : {size_t(2), size_t(20), whole.size() / 2, whole.size() - 4}) {
            EXPECT_FALSE(decodeQuietly({whole.begin(), whole.begin() + long(kept)}, maxPicturePixels, picture, spoke))
                << name << " " << kept;
            EXPECT_FALSE(spoke) << name << " " << kept;
            EXPECT_TRUE(picture.pixels.empty());
        }
        std::vector<uint8_t> damaged = whole;
        for (size_t i = whole.size() / 3; i < whole.size() / 3 + 40; ++i) damaged[i] ^= 0x5A;
        decodeQuietly(damaged, maxPicturePixels, picture, spoke);  // decoded or not, silently
        EXPECT_FALSE(spoke) << name;
        EXPECT_FALSE(decodeQuietly(whole, 64 * 48 - 1, picture, spoke)) << name;  // one pixel too many
        EXPECT_TRUE(decodeQuietly(whole, 64 * 48, picture, spoke)) << name;
        EXPECT_FALSE(decodeQuietly(whole, maxPicturePixels, picture, spoke, giveUpAtOnce)) << name;
    }
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
    EXPECT_FALSE(decodeQuietly(gif, maxPicturePixels, picture, spoke));

    // Headers that say 16384x16384 (268 megapixels): refused from the header, the pixels
    // never allocated (a decode would take a gigabyte at once), and without a word.
    const long peakBefore = peakKilobytes();
    ASSERT_GT(peakBefore, 0);
    for (const char* name : {"huge.png", "huge.jpg"}) {
        EXPECT_FALSE(decodeQuietly(pictureFixture(name), maxPicturePixels, picture, spoke)) << name;
        EXPECT_FALSE(spoke) << name;
    }
    EXPECT_LT(peakKilobytes() - peakBefore, 100 * 1024);
}
