// Picture files decoded for both native hosts: PNG and JPEG in their usual forms come out
// as blue, green, red, unused, whole or smaller; broken, cut-short and oversized files are
// refused without a word on stderr, the size before any pixel, and slow ones when asked.
#include "native/picture_file.h"

#include <gtest/gtest.h>

#include <png.h>

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

// The peak of the process's memory since the last resetPeak.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }
long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

bool giveUpAtOnce() { return true; }
int questions = 0;
bool giveUpOnTheFifthQuestion() { return ++questions >= 5; }

// A flat PNG of width x height, one row written at a time.
std::vector<uint8_t> flatPng(uint32_t width, uint32_t height) {
    std::vector<uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, [](png_structp p, png_bytep data, png_size_t n) {
        auto* to = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        to->insert(to->end(), data, data + n);
    }, nullptr);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(size_t(width) * 3, 0x80);
    for (uint32_t y = 0; y < height; ++y) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

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
    // Decoded smaller, as far as both sides stay at least the least side asked for; an
    // interlaced PNG's passes land in the same blocks.
    for (const char* name : {"baseline.jpg", "rgb.png", "interlaced.png"}) {
        const std::vector<uint8_t> file = pictureFixture(name);
        ASSERT_TRUE(decodePicture(file.data(), file.size(), maxPicturePixels, picture, nullptr, 20)) << name;
        EXPECT_EQ(picture.width, 32) << name;  // a third would make the height 16
        EXPECT_EQ(picture.height, 24) << name;
        EXPECT_TRUE(near(rgbAt(picture, 1, 1), 0xD03030) && near(rgbAt(picture, 30, 22), 0x3030D0)) << name;
    }
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
    // A progressive JPEG is asked about within its scans, before the first row comes out.
    questions = 0;
    EXPECT_FALSE(decodeQuietly(pictureFixture("progressive.jpg"), maxPicturePixels, picture, spoke,
                               giveUpOnTheFifthQuestion));
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
    // Nor a text chunk, after the header, that says it holds 1.8 GB.
    std::vector<uint8_t> texted = pictureFixture("rgb.png");
    const uint8_t text[] = {0x70, 0, 0, 0, 't', 'E', 'X', 't', 'N', 'o', 't', 'e', 0};
    texted.insert(texted.begin() + 33, text, text + sizeof text);
    EXPECT_FALSE(decodeQuietly(texted, maxPicturePixels, picture, spoke));
    EXPECT_LT(peakKilobytes() - peakBefore, 100 * 1024);

    // A 2000x2000 PNG for a 256-pixel texture is summed row by row into 286x286 blocks of 7x7:
    // the 16 MB of the whole picture are never held.
    const std::vector<uint8_t> large = flatPng(2000, 2000);
    resetPeak();
    const long peakBeforeLarge = peakKilobytes();
    ASSERT_TRUE(decodePicture(large.data(), large.size(), maxPicturePixels, picture, nullptr, 256));
    EXPECT_LT(peakKilobytes() - peakBeforeLarge, 6 * 1024);
    EXPECT_TRUE(picture.width == 286 && picture.height == 286 && near(rgbAt(picture, 285, 285), 0x808080));
}

// What the Windows wallpaper's decode is bounded by before WIC opens the file.
TEST(PictureFile, HeadersGiveTheSizeOfEachKindBeforeAnyDecode) {
    const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a', 0x40, 0, 0x30, 0};
    uint8_t bmp[26] = {'B', 'M'};
    bmp[14] = 40, bmp[18] = 0x40, bmp[22] = 0xD0, bmp[23] = 0xFF, bmp[24] = 0xFF, bmp[25] = 0xFF;  // top row first
    const std::vector<std::vector<uint8_t>> files = {pictureFixture("rgb.png"), pictureFixture("rotated.jpg"),
                                                     pictureFixture("progressive.jpg"), {gif, gif + sizeof gif},
                                                     {bmp, bmp + sizeof bmp}};
    for (const std::vector<uint8_t>& file : files) {
        uint32_t width = 0, height = 0;
        EXPECT_TRUE(pictureHeaderSize(file.data(), file.size(), width, height) && width == 64 && height == 48)
            << width << "x" << height;
    }
    uint32_t width, height;
    const std::vector<uint8_t> huge = pictureFixture("huge.jpg");
    EXPECT_TRUE(pictureHeaderSize(huge.data(), huge.size(), width, height) && width == 16384 && height == 16384);
    // A JPEG cut before its frame header, and a kind not known here, give none.
    EXPECT_FALSE(pictureHeaderSize(huge.data(), 20, width, height));
    EXPECT_FALSE(pictureHeaderSize(gif, 6, width, height));
}
