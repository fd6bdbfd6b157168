#include "render/pixel_format.h"

#include <gtest/gtest.h>

static const uint32_t window = formatSupportOpenGL | formatDrawToWindow | formatDoubleBuffer;

TEST(PixelFormat, ScoresFavourHardwareThenDepthThenColour) {
    EXPECT_EQ(scorePixelFormat({window, 0, 16, 16}), 2048);
    EXPECT_EQ(scorePixelFormat({window, 0, 32, 24}), 2072);
    EXPECT_EQ(scorePixelFormat({window | formatGeneric | formatGenericAccelerated, 0, 24, 16}), 1052);
    EXPECT_EQ(scorePixelFormat({window | formatGeneric, 0, 24, 16}), 52);
    // A 15-bit colour format loses nothing: only colour beyond 16 bits counts half.
    EXPECT_EQ(scorePixelFormat({window | formatGeneric, 0, 15, 0}), 15);
}

TEST(PixelFormat, RejectsFormatsTheSaverCannotDrawWith) {
    EXPECT_EQ(scorePixelFormat({window & ~formatDoubleBuffer, 0, 32, 24}), -1);
    EXPECT_EQ(scorePixelFormat({window & ~formatDrawToWindow, 0, 32, 24}), -1);
    EXPECT_EQ(scorePixelFormat({window & ~formatSupportOpenGL, 0, 32, 24}), -1);
    EXPECT_EQ(scorePixelFormat({window, 1, 32, 24}), -1);  // colour-index
}

TEST(PixelFormat, PicksHighestScoreAndKeepsLowerIndexOnTies) {
    const PixelFormatTraits formats[] = {
        {window | formatGeneric, 0, 24, 16},  // 52
        {window, 0, 16, 16},                  // 2048
        {window & ~formatDoubleBuffer, 0, 32, 32},
        {window, 0, 16, 16},                  // 2048 again: index 2 stays
        {window | formatGeneric | formatGenericAccelerated, 0, 24, 16},
    };
    EXPECT_EQ(pickBestPixelFormat(formats, 5), 2);
    EXPECT_EQ(pickBestPixelFormat(formats, 1), 1);
    EXPECT_EQ(pickBestPixelFormat(formats + 2, 1), 0);
    EXPECT_EQ(pickBestPixelFormat(formats, 0), 0);
}
