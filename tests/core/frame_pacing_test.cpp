// Frame pacing: the wait before a frame, the display's beat, whether swaps wait for the
// display, and the swap-interval extension a host picks.
#include "render/frame_pacing.h"

#include <gtest/gtest.h>

TEST(FramePacing, WaitsFromTheLastStartRoundedUpAndNeverMakesUpALateFrame) {
    FramePacer pacer{30000};
    EXPECT_EQ(frameWaitMs(pacer, 0), 0);  // the first frame at once
    startFrame(pacer, 1000000);
    EXPECT_EQ(frameWaitMs(pacer, 1007300), 23);  // 22.7 ms left: a poll of 22 would wake early
    EXPECT_EQ(frameWaitMs(pacer, 1029999), 1);
    EXPECT_EQ(frameWaitMs(pacer, 1030000), 0);
    startFrame(pacer, 1100000);  // 70 ms late: the next is 30 ms after this start, not sooner
    EXPECT_EQ(frameWaitMs(pacer, 1100000), 30);

    FramePacer backToBack{0};
    startFrame(backToBack, 5000);
    EXPECT_EQ(frameWaitMs(backToBack, 5000), 0);
    FramePacer slowest{1000000};
    startFrame(slowest, 0);
    EXPECT_EQ(frameWaitMs(slowest, 1), 1000);
}

TEST(FramePacing, SwapControlIsChosenByWholeExtensionNamesInOrder) {
    EXPECT_EQ(chooseSwapControl(nullptr), SwapControl::Unavailable);
    EXPECT_EQ(chooseSwapControl(""), SwapControl::Unavailable);
    EXPECT_EQ(chooseSwapControl("GLX_ARB_create_context GLX_EXT_swap_control_tear"), SwapControl::Unavailable);
    EXPECT_EQ(chooseSwapControl("GLX_XGLX_EXT_swap_control GLX_SGI_swap_control"), SwapControl::Sgi);
    EXPECT_EQ(chooseSwapControl("GLX_SGI_swap_control GLX_MESA_swap_control "), SwapControl::Mesa);
    EXPECT_EQ(chooseSwapControl("GLX_SGI_swap_control GLX_EXT_swap_control_tear GLX_MESA_swap_control "
                                "GLX_EXT_swap_control"),
              SwapControl::Ext);
}

TEST(FramePacing, TheDisplaysBeatKeepsItsRateThroughLateWakesAndStartsAfreshAfterAStall) {
    EXPECT_EQ(displayPeriodUs(0), displayPeriodUs(60));
    EXPECT_EQ(displayPeriodUs(1), displayPeriodUs(60));
    const uint32_t period = displayPeriodUs(60);
    FramePacer pacer{period};
    // Every wake 900 us late, as a wait cut to whole milliseconds comes: 60 frames still take
    // one second, where starting the period from each late start would take 1.054 s.
    int64_t now = 0;
    startFrameOnBeat(pacer, now);
    for (int frame = 1; frame <= 60; ++frame) {
        now += frameWaitUs(pacer, now) + 900;
        startFrameOnBeat(pacer, now);
    }
    EXPECT_EQ(now, 60 * int64_t(period) + 900);
    startFrameOnBeat(pacer, now + 50000);  // three periods late: no burst of frames follows
    EXPECT_EQ(frameWaitUs(pacer, now + 50000), period);
}

TEST(FramePacing, SwapsThatDoNotWaitForTheDisplayAreSeenAfterAQuarterSecondOfFrames) {
    const uint32_t period = displayPeriodUs(60);
    // The frame at which the watch first says the swaps outrun the display; -1: never.
    const auto firstOutrun = [period](int64_t stepUs) {
        SwapWatch watch;
        for (int frame = 0; frame < 2000; ++frame)
            if (swapsOutrunDisplay(watch, frame * stepUs, period)) return frame;
        return -1;
    };
    EXPECT_EQ(firstOutrun(period), -1);             // on the display's beat
    EXPECT_EQ(firstOutrun(period * 95 / 100), -1);  // a display a little faster than it says
    EXPECT_EQ(firstOutrun(2000), 125);              // 500 frames a second: a quarter second's worth
}
