// Squeezing a screen picture to the texture size: which source pixels each texel takes,
// the AND of the dropped pixels, and the bounds of the snapshot.
#include "capture/desktop_snapshot.h"
#include "capture/picture_squeeze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(PictureSqueeze, EverySourcePixelLandsOnceAndInOrderAtEveryRatio) {
    for (int source : {1, 2, 3, 7, 64, 100, 768, 1024, 1080, 1920, 2048})
        for (int dest : {1, 2, 5, 64, 128, 256, 333, 512, 1024, 2048, 8192}) {
            std::vector<SourceRun> runs = stretchAxis(source, dest);
            ASSERT_EQ(int(runs.size()), dest);
            int next = 0;
            for (const SourceRun& run : runs) {
                if (source > dest) {
                    // Squeezed: consecutive runs that share out the source exactly.
                    ASSERT_EQ(run.first, next) << source << "->" << dest;
                    ASSERT_GE(run.count, 1);
                    next += run.count;
                } else {
                    // Stretched: one source pixel each, never skipping one.
                    ASSERT_EQ(run.count, 1);
                    ASSERT_TRUE(run.first == next || run.first == next - 1) << source << "->" << dest;
                    next = run.first + 1;
                }
            }
            EXPECT_EQ(next, source) << source << "->" << dest;
        }
}

TEST(PictureSqueeze, EvenRatiosTakeEvenRuns) {
    for (const SourceRun& run : stretchAxis(1024, 512)) EXPECT_EQ(run.count, 2);
    for (const SourceRun& run : stretchAxis(768, 256)) EXPECT_EQ(run.count, 3);
    std::vector<SourceRun> doubled = stretchAxis(3, 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(doubled[i].first, i / 2);
}

TEST(PictureSqueeze, DroppedPixelsAreAndedIntoTheKeptOnesTopRowFirst) {
    // 4x2 source into 2x1: each texel is the AND of a 2x2 block.
    const uint32_t source[8] = {0x00F0F0F0, 0x00FFFFFF, 0x003C3C3C, 0x00FFFFFF,
                                0x00FFFFFF, 0x00FF0FFF, 0x00FFFFFF, 0x00FFFF0F};
    uint8_t bgr[6];
    ASSERT_TRUE(squeezePicture({reinterpret_cast<const uint8_t*>(source), 4, 2, 16}, 2, 1, bgr));
    EXPECT_EQ(bgr[0], 0xF0);  // blue of the first block
    EXPECT_EQ(bgr[1], 0x00);  // its green: 0xF0 & 0x0F
    EXPECT_EQ(bgr[2], 0xF0);
    EXPECT_EQ(bgr[3], 0x0C);  // 0x3C & 0x0F
    EXPECT_EQ(bgr[4], 0x3C);
    EXPECT_EQ(bgr[5], 0x3C);

    // Stretched 1x2 into 1x4: the top source row fills the top half, and the row stride
    // (padding beyond the width) is honoured.
    const uint32_t column[4] = {0x00010203, 0xDEADBEEF, 0x00040506, 0xDEADBEEF};
    uint8_t tall[12];
    ASSERT_TRUE(squeezePicture({reinterpret_cast<const uint8_t*>(column), 1, 2, 8}, 1, 4, tall));
    EXPECT_EQ(tall[0], 0x03);
    EXPECT_EQ(tall[3], 0x03);
    EXPECT_EQ(tall[6], 0x06);
    EXPECT_EQ(tall[9], 0x06);
}

TEST(DesktopSnapshotBounds, EachSideIsBoundAndTheAreaFollowsTheWindow) {
    EXPECT_EQ(snapshotBytes(512, 256), 512u * 256 * 3);
    EXPECT_EQ(snapshotBytes(8192, 8192), 8192u * 8192 * 3);
    EXPECT_EQ(snapshotBytes(1, 67108864), 0u);  // a thin texture beyond any GL's largest side
    EXPECT_EQ(snapshotBytes(67108864, 1), 0u);
    EXPECT_EQ(snapshotBytes(8193, 2), 0u);
    EXPECT_EQ(snapshotBytes(0, 256), 0u);
    EXPECT_EQ(snapshotBytes(-512, 256), 0u);

    const ScreenArea primary = {0, 0, 1024, 768};
    const ScreenArea allMonitors = {-1280, -200, 2304, 1024};
    const ScreenArea taken = snapshotArea(false, allMonitors, primary);
    EXPECT_EQ(taken.left, -1280);
    EXPECT_EQ(taken.top, -200);
    EXPECT_EQ(taken.width, 2304);
    EXPECT_EQ(taken.height, 1024);
    EXPECT_EQ(snapshotArea(true, {0, 0, 152, 112}, primary).width, 1024);  // the preview's child window
    EXPECT_EQ(snapshotArea(false, {0, 0, 0, 0}, primary).height, 768);
}

TEST(PictureSqueeze, BandsOfAnyHeightGiveTheBytesOfTheWhole) {
    const int sourceWidth = 37, sourceHeight = 29;
    std::vector<uint32_t> source(size_t(sourceWidth) * sourceHeight);
    uint32_t state = 1;
    for (uint32_t& pixel : source) pixel = state = state * 1664525u + 1013904223u;
    const BgrxPicture whole = {reinterpret_cast<const uint8_t*>(source.data()), sourceWidth, sourceHeight,
                               size_t(sourceWidth) * 4};
    // Squeezed, kept, stretched, and both at once.
    const struct { int width, height; } sizes[] = {{5, 3}, {37, 29}, {80, 61}, {1, 1}, {12, 70}};
    for (auto size : sizes) {
        const size_t bytes = size_t(size.width) * size.height * 3;
        std::vector<uint8_t> expected(bytes), banded(bytes);
        ASSERT_TRUE(squeezePicture(whole, size.width, size.height, expected.data()));
        for (int bandRows : {1, 2, 5, 28}) {
            BandSqueeze squeeze;
            ASSERT_TRUE(beginBandSqueeze(squeeze, sourceWidth, sourceHeight, size.width, size.height, banded.data()));
            for (int top = 0; top < sourceHeight; top += bandRows)
                squeezeBand(squeeze, {whole.pixels + size_t(top) * whole.stride, sourceWidth,
                                      std::min(bandRows, sourceHeight - top), whole.stride}, top);
            EXPECT_EQ(banded, expected) << size.width << "x" << size.height << " in bands of " << bandRows;
        }
    }
}
