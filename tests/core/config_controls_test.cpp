#include "resources/resource_ids.h"
#include "settings/config_controls.h"
#include "settings/settings_fields.h"

#include <gtest/gtest.h>

#include <set>

TEST(ConfigControls, EditNumbersReadLikeAtoiOverNineCharacters) {
    struct Case { const char* text; int32_t value; };
    const Case cases[] = {
        {"0", 0}, {"", 0}, {"25", 25}, {"1234567890", 123456789}, {"999999999", 999999999},
        {"  42", 42}, {"-7", -7}, {"+8", 8}, {"12ab", 12}, {"abc", 0}, {"        9", 9}, {"         9", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(parseEditNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(ConfigControls, PriorityNamesFollowTheTrackbar) {
    EXPECT_STREQ(priorityName(0), "Lowest");
    EXPECT_STREQ(priorityName(2), "Normal");
    EXPECT_STREQ(priorityName(5), "Time Critical");
    EXPECT_STREQ(priorityName(9), "Time Critical");
    EXPECT_STREQ(priorityName(-1), "Lowest");
    EXPECT_STREQ(priorityName(INT32_MIN), "Lowest");
}

TEST(ConfigControls, EveryControlNamesARealFieldAndNoIdentifierIsUsedTwice) {
    std::set<int> ids;
    for (const FieldControl& c : editControls) {
        EXPECT_NE(findSettingsField(c.field), nullptr) << c.field;
        ids.insert(c.id);
    }
    for (const FieldControl& c : checkControls) {
        EXPECT_NE(findSettingsField(c.field), nullptr) << c.field;
        ids.insert(c.id);
    }
    size_t radios = 0;
    for (const RadioGroup& g : radioGroups) {
        EXPECT_NE(findSettingsField(g.field), nullptr) << g.field;
        for (int i = 0; i < g.choiceCount; ++i) {
            EXPECT_GE(g.choices[i].id, g.first);
            EXPECT_LE(g.choices[i].id, g.last);
            ids.insert(g.choices[i].id);
        }
        radios += g.choiceCount;
    }
    ids.insert(IDC_MONITOR_MODE);
    EXPECT_EQ(ids.size(), 14 + 5 + radios + 1);
    EXPECT_EQ(saveBankOf(1079), 0);
    EXPECT_EQ(saveBankOf(1076), 3);
    EXPECT_EQ(recallBankOf(1073), 1);
    EXPECT_EQ(recallBankOf(1079), -1);
    EXPECT_EQ(saveBankOf(1039), -1);
}
