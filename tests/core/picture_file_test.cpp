// Picture files decoded for both native hosts: PNG and JPEG in their usual forms come out
// as blue, green, red, unused; broken, cut-short and oversized files are refused without a
// word on stderr, the size before any pixel.
#include "native/picture_file.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "picture_files.h"

namespace {

uint32_t bgrAt(const DecodedPicture& picture, int x, int y) {
    const uint8_t* p = picture.pixels.data() + (size_t(y) * size_t(picture.width) + size_t(x)) * 4;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];  // 0xRRGGBB
}

bool near(uint32_t rgb, uint32_t expected, int slack) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((rgb >> shift) & 255) - int((expected >> shift) & 255)) > slack) return false;
    return true;
}

// Decodes, and says whether anything reached stderr meanwhile.
bool decodeQuietly(const std::vector<uint8_t>& bytes, uint64_t maxPixels, DecodedPicture& picture, bool& spoke,
                   bool (*giveUp)() = nullptr) {
    testing::internal::CaptureStderr();
    const bool decoded = decodePicture(bytes.data(), bytes.size(), maxPixels, picture, giveUp);
    spoke = !testing::internal::GetCapturedStderr().empty();
    return decoded;
}

// The process's peak resident memory so far (VmHWM).
long peakKilobytes() {
    FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    long peak = -1;
    while (status && std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld kB", &peak) == 1) break;
    if (status) std::fclose(status);
    return peak;
}

int rowsAsked = 0;
bool giveUpAfterARow() { return ++rowsAsked > 1; }

}  // namespace

TEST(PictureFile, PngAndJpegInTheirUsualFormsComeOutUpright) {
    const struct {
        int colourType, depth;
        bool interlaced;
    } pngs[] = {
        {PNG_COLOR_TYPE_RGB, 8, false},  {PNG_COLOR_TYPE_RGB_ALPHA, 8, false}, {PNG_COLOR_TYPE_GRAY, 8, false},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false}, {PNG_COLOR_TYPE_PALETTE, 8, false}, {PNG_COLOR_TYPE_RGB, 16, false},
        {PNG_COLOR_TYPE_RGB, 8, true},
    };
    bool spoke;
    DecodedPicture picture;
    for (const auto& form : pngs) {
        ASSERT_TRUE(decodeQuietly(quarteredPng(64, 48, form.colourType, form.depth, form.interlaced), maxPicturePixels,
                                  picture, spoke))
            << form.colourType;
        EXPECT_FALSE(spoke);
        ASSERT_EQ(picture.width, 64);
        ASSERT_EQ(picture.height, 48);
        ASSERT_EQ(picture.pixels.size(), size_t(64 * 48 * 4));
        const bool grey = !(form.colourType & PNG_COLOR_MASK_COLOR);
        EXPECT_EQ(bgrAt(picture, 5, 5), grey ? 0x5E5E5Eu : 0xD03030u) << form.colourType;
        EXPECT_EQ(bgrAt(picture, 60, 5), grey ? 0x909090u : 0x30D030u) << form.colourType;
        EXPECT_EQ(bgrAt(picture, 60, 44), grey ? 0x3A3A3Au : 0x3030D0u) << form.colourType;
    }
    for (bool progressive : {false, true}) {
        for (bool grey : {false, true}) {
            ASSERT_TRUE(decodeQuietly(quarteredJpeg(64, 48, grey, progressive), maxPicturePixels, picture, spoke));
            EXPECT_FALSE(spoke);
            ASSERT_EQ(picture.width, 64);
            ASSERT_EQ(picture.height, 48);
            EXPECT_TRUE(near(bgrAt(picture, 5, 5), grey ? 0x5E5E5E : 0xD03030, 8)) << std::hex << bgrAt(picture, 5, 5);
            EXPECT_TRUE(near(bgrAt(picture, 60, 5), grey ? 0x909090 : 0x30D030, 8)) << std::hex << bgrAt(picture, 60, 5);
            EXPECT_TRUE(near(bgrAt(picture, 60, 44), grey ? 0x3A3A3A : 0x3030D0, 8)) << std::hex << bgrAt(picture, 60, 44);
        }
    }
}

TEST(PictureFile, BrokenCutShortAndOversizedFilesAreRefusedQuietly) {
    const std::vector<uint8_t> png = quarteredPng(64, 48, PNG_COLOR_TYPE_RGB), jpeg = quarteredJpeg(64, 48, false, false);
    bool spoke;
    DecodedPicture picture;
    for (const std::vector<uint8_t>& whole : {png, jpeg}) {
        for (size_t kept : {size_t(2), size_t(20), whole.size() / 2, whole.size() - 4}) {
            const std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(kept));
            EXPECT_FALSE(decodeQuietly(cut, maxPicturePixels, picture, spoke)) << kept;
            EXPECT_FALSE(spoke) << kept;
            EXPECT_TRUE(picture.pixels.empty());
        }
        std::vector<uint8_t> damaged = whole;
        for (size_t i = whole.size() / 3; i < whole.size() / 3 + 40; ++i) damaged[i] ^= 0x5A;
        decodeQuietly(damaged, maxPicturePixels, picture, spoke);  // decoded or not, silently
        EXPECT_FALSE(spoke);
        EXPECT_FALSE(decodeQuietly(whole, 64 * 48 - 1, picture, spoke));  // one pixel too many
        EXPECT_TRUE(decodeQuietly(whole, 64 * 48, picture, spoke));
    }
    // Asked between rows, a give-up half way through ends the decode.
    for (const std::vector<uint8_t>& tall : {quarteredPng(64, 300, PNG_COLOR_TYPE_RGB), quarteredJpeg(64, 300, false, true)}) {
        rowsAsked = 0;
        EXPECT_FALSE(decodeQuietly(tall, maxPicturePixels, picture, spoke, giveUpAfterARow));
        EXPECT_GT(rowsAsked, 1);
    }
    const std::string text = "GIF89a not a picture we read";
    EXPECT_FALSE(decodeQuietly(std::vector<uint8_t>(text.begin(), text.end()), maxPicturePixels, picture, spoke));
    EXPECT_FALSE(looksLikePicture(reinterpret_cast<const uint8_t*>(text.data()), text.size()));

    // Headers of 16384 x 16384 (268 megapixels) over a few rows: refused from the header, the
    // pixels never allocated (a decode would take a gigabyte at once), and without a word.
    const long peakBefore = peakKilobytes();
    EXPECT_FALSE(decodeQuietly(hugePngHeader(16384, 16384), maxPicturePixels, picture, spoke));
    EXPECT_FALSE(spoke);
    EXPECT_FALSE(decodeQuietly(hugeJpegHeader(16384, 16384), maxPicturePixels, picture, spoke));
    EXPECT_FALSE(spoke);
    EXPECT_LT(peakKilobytes() - peakBefore, 100 * 1024);
}
