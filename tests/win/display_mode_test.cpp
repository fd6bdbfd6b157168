// The display switch's Windows side, with a pretend driver behind the seam.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/display_mode_switcher_win32.h"

namespace {

struct Call {
    bool restore;
    DWORD width, height, bits, refresh, fields, flags;
};
std::vector<Call> calls;
std::vector<std::string> boxes;

BOOL WINAPI listThreeRates(LPCSTR device, DWORD index, DEVMODEA* mode) {
    if (device || index > 2) return FALSE;
    mode->dmPelsWidth = 1024, mode->dmPelsHeight = 768, mode->dmBitsPerPel = 16;
    mode->dmDisplayFrequency = 60 + 12 * index + (index == 2 ? 1 : 0);  // 60, 72, 85
    mode->dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
    return TRUE;
}

LONG WINAPI refuseSixtyAndCombined(DEVMODEA* mode, DWORD flags) {
    if (!mode) {
        calls.push_back({true, 0, 0, 0, 0, 0, flags});
        return DISP_CHANGE_SUCCESSFUL;
    }
    calls.push_back({false, mode->dmPelsWidth, mode->dmPelsHeight, mode->dmBitsPerPel,
                     mode->dmDisplayFrequency, mode->dmFields, flags});
    const bool asListed = mode->dmFields & DM_DISPLAYFREQUENCY;
    if ((asListed && mode->dmDisplayFrequency == 60) || mode->dmFields == 0x1C0000) return DISP_CHANGE_BADMODE;
    return mode->dmFields == 0x180000 ? DISP_CHANGE_FAILED : DISP_CHANGE_SUCCESSFUL;
}

int WINAPI recordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    boxes.push_back(std::string(caption) + "|" + text + "|" + std::to_string(type) + (owner ? "|owned" : ""));
    return IDOK;
}

struct DisplaySeamTest : testing::Test {
    void SetUp() override {
        enumDisplaySettings = listThreeRates;
        changeDisplaySettings = refuseSixtyAndCombined;
        showMessageBox = recordBox;
    }
};

}  // namespace

TEST_F(DisplaySeamTest, AListedModeIsSetAsListedForTheFullScreenOnly) {
    EXPECT_EQ(switchDisplayMode(1024, 768, 16), 1);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].refresh, 72u);
    EXPECT_EQ(calls[1].flags, DWORD(CDS_FULLSCREEN));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DisplaySeamTest, ARefusedResolutionIsUndoneAndReportedInAnErrorBox) {
    EXPECT_EQ(switchDisplayMode(800, 600, 32), 0);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].fields, 0x1C0000u);
    EXPECT_EQ(calls[0].refresh, 60u);  // mode 0's record
    EXPECT_EQ(calls[1].fields, 0x40000u);
    EXPECT_EQ(calls[1].bits, 32u);
    EXPECT_EQ(calls[2].fields, 0x180000u);
    EXPECT_TRUE(calls[3].restore);
    EXPECT_EQ(calls[3].flags, 0u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "SS Error|Hardware failed to change to 800x600x32-bit color\n|16");
}

TEST_F(DisplaySeamTest, TheRestoreRequestUsesTheStoredMode) {
    EXPECT_EQ(switchDisplayMode(0, 0, 0), 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].restore);
}
