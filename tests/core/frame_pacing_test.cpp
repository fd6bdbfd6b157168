// Frame pacing: the wait before a frame and the swap-interval extension a host picks.
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
