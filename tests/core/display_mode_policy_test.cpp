#include "settings/display_mode_policy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A pretend display driver: a list of modes with refresh rates, and a verdict per request.
struct Listed {
    DisplayRequest mode;
    int refresh;
};
struct Applied {
    DisplayRequest mode;
    int refresh;
    uint32_t fields;  // 0: the listed record as it was
};

std::vector<Listed> modes;
std::vector<Applied> applied;
std::vector<std::string> reports;
int restores;
Listed working;
int (*verdict)(const Applied&);

bool loadListedMode(int index, DisplayRequest& mode) {
    if (index < 0 || index >= int(modes.size())) return false;
    working = modes[index];
    mode = working.mode;
    return true;
}
int applyWorkingMode() {
    applied.push_back({working.mode, working.refresh, 0});
    return verdict(applied.back());
}
int applyWorkingFields(const DisplayRequest& request, uint32_t fields) {
    working.mode = request;
    applied.push_back({request, working.refresh, fields});
    return verdict(applied.back());
}
int restoreStoredMode() {
    ++restores;
    return verdict({{0, 0, 0}, -1, 0});
}
void report(const char* text) { reports.push_back(text); }

const DisplayDriver driver = {loadListedMode, applyWorkingMode, applyWorkingFields, restoreStoredMode, report};

struct DisplaySwitchTest : testing::Test {
    void SetUp() override {
        modes = {{{640, 480, 16}, 60}, {{1024, 768, 16}, 60}, {{1024, 768, 16}, 72},
                 {{1024, 768, 16}, 85}, {{1024, 768, 32}, 60}};
        applied.clear(), reports.clear();
        restores = 0;
    }
};

}  // namespace

TEST_F(DisplaySwitchTest, FirstAcceptedRefreshRateOfTheExactModeWins) {
    verdict = [](const Applied& a) { return a.refresh == 60 ? -1 : 0; };
    EXPECT_EQ(switchDisplayModeWith(driver, {1024, 768, 16}), 1);
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[1].refresh, 72);
    EXPECT_EQ(applied[1].fields, 0u);
    EXPECT_TRUE(reports.empty());
}

TEST_F(DisplaySwitchTest, UnlistedSizeTriesModeZeroCombinedThenDepthThenResolution) {
    verdict = [](const Applied& a) { return a.fields == 0x1C0000u ? -2 : 0; };
    EXPECT_EQ(switchDisplayModeWith(driver, {1000, 700, 16}), 1);
    ASSERT_EQ(applied.size(), 3u);
    EXPECT_EQ(applied[0].fields, 0x1C0000u);
    EXPECT_EQ(applied[0].refresh, 60);  // mode 0's record
    EXPECT_EQ(applied[0].mode.width, 1000);
    EXPECT_EQ(applied[1].fields, 0x40000u);
    EXPECT_EQ(applied[2].fields, 0x180000u);
    EXPECT_EQ(restores, 0);
}

TEST_F(DisplaySwitchTest, RefusedMatchesStartTheCombinedRequestFromTheFirstOfThem) {
    verdict = [](const Applied& a) { return a.fields == 0 ? -1 : 0; };
    EXPECT_EQ(switchDisplayModeWith(driver, {1024, 768, 16}), 1);
    ASSERT_EQ(applied.size(), 4u);
    EXPECT_EQ(applied[3].fields, 0x1C0000u);
    EXPECT_EQ(applied[3].refresh, 60);
}

TEST_F(DisplaySwitchTest, RefusedResolutionUndoesTheDepthAndReports) {
    verdict = [](const Applied& a) { return a.fields == 0x40000u ? 0 : a.fields ? -1 : 0; };
    EXPECT_EQ(switchDisplayModeWith(driver, {1280, 1024, 32}), 0);
    EXPECT_EQ(restores, 1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Hardware failed to change to 1280x1024x32-bit color\n");
}

TEST_F(DisplaySwitchTest, RefusedDepthReportsItsOwnResultWithNothingToUndo) {
    verdict = [](const Applied&) { return -2; };
    EXPECT_EQ(switchDisplayModeWith(driver, {1280, 1024, 32}), 0);
    EXPECT_EQ(restores, 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "The video mode 1280x1024x32-bit color is not supported\n");
}

TEST_F(DisplaySwitchTest, RestoreRequestUsesTheStoredModeAndReportsARefusal) {
    verdict = [](const Applied&) { return 0; };
    EXPECT_EQ(switchDisplayModeWith(driver, {0, 0, 0}), 1);
    EXPECT_EQ(restores, 1);
    EXPECT_TRUE(applied.empty());
    verdict = [](const Applied&) { return 7; };
    EXPECT_EQ(switchDisplayModeWith(driver, {0, 0, 0}), 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Failed to change to 0x0x0-bit color - unknown reason\n");
}

TEST(DisplaySwitchReport, EachResultPicksItsText) {
    char text[160];
    formatSwitchReport(1, {800, 600, 24}, text);
    EXPECT_STREQ(text, "You must change your video mode to 800x600x24-bit color and then restart\n");
    formatSwitchReport(-2, {800, 600, 24}, text);
    EXPECT_STREQ(text, "The video mode 800x600x24-bit color is not supported\n");
    formatSwitchReport(-1, {800, 600, 24}, text);
    EXPECT_STREQ(text, "Hardware failed to change to 800x600x24-bit color\n");
    formatSwitchReport(-3, {-1, 2147483647, -2147483647 - 1}, text);
    EXPECT_STREQ(text, "Failed to change to -1x2147483647x-2147483648-bit color - unknown reason\n");
}

TEST(DisplayModeText, HoldsAnyThreeValuesWhole) {
    char text[40];
    formatModeText({1024, 768, 16}, text);
    EXPECT_STREQ(text, "1024x768x16");
    formatModeText({-2147483647 - 1, -2147483647 - 1, -2147483647 - 1}, text);
    EXPECT_STREQ(text, "-2147483648x-2147483648x-2147483648");
}
