// The settings record, its table, defaults and conversions, and the eight presets.
// saverSettings is process-wide: each test that changes it puts the defaults back.
#include "capture/desktop_snapshot.h"
#include "effects/explode.h"
#include "settings/monitor_mode.h"
#include "settings/presets.h"
#include "settings/settings_fields.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

// The record as other translation units see it during their own static initialisation:
// it must already hold the defaults, whatever order the initialisers run in.
static const SaverSettings atStaticInit = saverSettings;

TEST(Settings, DefaultsAreTheDocumentedOnesFromTheStart) {
    const SaverSettings& s = atStaticInit;
    EXPECT_EQ(s.Priority, 2);
    EXPECT_EQ(s.x_div, 25.0f);
    EXPECT_EQ(s.y_div, 19.0f);
    EXPECT_EQ(s.xyAmplitude, 10.0f);
    EXPECT_EQ(s.xyFrequency1, 10.0f);
    EXPECT_EQ(s.xyFrequency2, 10.0f);
    EXPECT_EQ(s.xySizeX, 60.0f);
    EXPECT_EQ(s.xySizeY, 60.0f);
    EXPECT_EQ(s.Mode, Explode);
    EXPECT_EQ(s.genChildren, 2);
    EXPECT_EQ(s.xyGoraud, 1);
    EXPECT_EQ(s.useLinear, 1);
    EXPECT_EQ(s.screenTextureWidth, 512);
    EXPECT_EQ(s.screenTextureHeight, 256);
    EXPECT_EQ(s.useTrails, 0);
    EXPECT_EQ(s.enableMovement, 1);
    EXPECT_EQ(s.rotX0, 10.0f);
    EXPECT_EQ(s.rotX1, 30.0f);
    EXPECT_EQ(s.rotY0, 10.0f);
    EXPECT_EQ(s.rotY1, 25.0f);
    EXPECT_EQ(s.rotZ0, 45.0f);
    EXPECT_EQ(s.rotZ1, 20.0f);
    EXPECT_EQ(s.zoom0, 25.0f);
    EXPECT_EQ(s.zoom1, 20.0f);
    EXPECT_EQ(s.useOGL, 0);
    EXPECT_EQ(s.randPreset, 0);
    EXPECT_EQ(s.resW | s.resH | s.resC, 0);
    EXPECT_EQ(s.monitorMode, windowsMonitorModeDefault);
    saverSettings.Mode = Wave2;
    saverSettings.resW = 800;
    SettingsStore::applyDefaults();
    EXPECT_EQ(std::memcmp(&saverSettings, &atStaticInit, sizeof atStaticInit), 0);
}

TEST(Settings, TableCoversEveryFieldOnceWithBankSlotsInOrder) {
    SaverSettings s{};
    std::set<const void*> addresses;
    for (int i = 0; i < settingsFieldCount; ++i) {
        const SettingsField& field = settingsFields[i];
        EXPECT_NE(field.intField == nullptr, field.floatField == nullptr) << field.name;
        addresses.insert(field.floatField ? static_cast<const void*>(&(s.*field.floatField))
                                          : static_cast<const void*>(&(s.*field.intField)));
        EXPECT_EQ(field.bankSlot, i < bankSlotCount ? i : -1) << field.name;
    }
    EXPECT_EQ(addresses.size(), size_t(settingsFieldCount));
    EXPECT_EQ(sizeof(SaverSettings), settingsFieldCount * 4u);
}

// Ranges bound what a command line may give: each default and each preset must pass,
// and the grid's largest wall must stay within what the explode builds.
TEST(Settings, RangesHoldTheDefaultsAndEveryPreset) {
    for (const SettingsField& field : settingsFields) {
        EXPECT_LE(field.minValue, field.defaultValue) << field.name;
        EXPECT_GE(field.maxValue, field.defaultValue) << field.name;
    }
    for (uint16_t command : randomPresetIds) {
        SettingsStore::applyDefaults();
        applyPresetValues(command);
        for (const SettingsField& field : settingsFields) {
            EXPECT_GE(storedValue(saverSettings, field), field.minValue) << field.name << " " << command;
            EXPECT_LE(storedValue(saverSettings, field), field.maxValue) << field.name << " " << command;
        }
    }
    SettingsStore::applyDefaults();
    EXPECT_LE(long(findSettingsField("x_div")->maxValue) * findSettingsField("y_div")->maxValue, maxFragments);
    EXPECT_EQ(findSettingsField("screenTextureWidth")->maxValue, maxSnapshotSide);
    EXPECT_EQ(findSettingsField("screenTextureHeight")->maxValue, maxSnapshotSide);
}

TEST(Settings, FloatsAreStoredTruncatedTowardZero) {
    SaverSettings s = defaultSettings();
    const SettingsField& x = settingsFields[1];  // x_div
    s.x_div = 7.9f;
    EXPECT_EQ(storedValue(s, x), 7);
    s.x_div = -3.7f;
    EXPECT_EQ(storedValue(s, x), -3);
    assignStored(s, x, -3);
    EXPECT_EQ(s.x_div, -3.0f);
    // Any stored number survives a load and a save, also where its float rounds
    // past the int32 range (0x7fffffff becomes 2^31).
    for (int32_t extreme : {INT32_MAX, INT32_MIN}) {
        assignStored(s, x, extreme);
        EXPECT_EQ(storedValue(s, x), extreme) << extreme;
    }
    EXPECT_EQ(truncateToInt32(-3e9f), INT32_MIN);
    EXPECT_EQ(truncateToInt32(NAN), 0);
    assignStored(s, settingsFields[0], INT32_MIN);  // integers pass through unchanged
    EXPECT_EQ(s.Priority, INT32_MIN);
}

// The registry keeps any number: the mode drawn with is the stored one when it names a
// mode, else the platform's default, and the record is never changed by asking.
TEST(Settings, AMonitorModeThatNamesNoModeDrawsAsThePlatformsDefault) {
    SaverSettings s = defaultSettings();
    for (int32_t stored : {0, 1, 2}) {
        s.monitorMode = stored;
        EXPECT_EQ(monitorModeOf(s, nativeMonitorModeDefault), stored);
    }
    for (int32_t stored : {3, -1, INT32_MIN, INT32_MAX}) {
        s.monitorMode = stored;
        EXPECT_EQ(monitorModeOf(s, SpanMonitors), SpanMonitors) << stored;
        EXPECT_EQ(monitorModeOf(s, EachMonitor), EachMonitor) << stored;
        EXPECT_EQ(s.monitorMode, stored);
    }
}

TEST(Settings, BankNamesAreThirteenCharacters) {
    char name[16];
    bankValueName(2, 8, name);
    EXPECT_STREQ(name, "usersave02_08");
    bankValueName(3, 25, name);
    EXPECT_EQ(std::strlen(name), 13u);
}

TEST(Presets, EachSetsItsFieldsAndKeepsTheRest) {
    struct Case { int command; int Mode; float x_div, rotY0, rotZ0, zoom1; };
    const Case cases[] = {
        {1025, 0, 30, 45, 45, 0}, {1026, 0, 5, 30, 60, 0},  {1072, 0, 40, 360, 0, 0},
        {1064, 0, 5, 30, 20, 0},  {1065, 3, 60, 0, 0, 0},   {1066, 2, 80, 80, 360, 0},
        {1067, 3, 80, 0, 3600, 0}, {1068, 3, 60, 10, 45, 20},
    };
    for (const Case& c : cases) {
        SettingsStore::applyDefaults();
        saverSettings.enableMovement = 0;
        saverSettings.xyAmplitude = 123;
        saverSettings.genChildren = 9;
        saverSettings.Priority = 4;
        saverSettings.monitorMode = PrimaryMonitorOnly;
        ASSERT_TRUE(applyPresetValues(c.command)) << c.command;
        EXPECT_EQ(saverSettings.Mode, c.Mode) << c.command;
        EXPECT_EQ(saverSettings.x_div, c.x_div) << c.command;
        EXPECT_EQ(saverSettings.rotY0, c.rotY0) << c.command;
        EXPECT_EQ(saverSettings.rotZ0, c.rotZ0) << c.command;
        EXPECT_EQ(saverSettings.zoom1, c.zoom1) << c.command;
        EXPECT_EQ(saverSettings.enableMovement, 1) << c.command;
        EXPECT_EQ(saverSettings.Priority, 4) << c.command;
        EXPECT_EQ(saverSettings.monitorMode, PrimaryMonitorOnly) << c.command;
        bool explode = c.command < 1065 || c.command == 1072;
        EXPECT_EQ(saverSettings.xyAmplitude == 123, explode) << c.command;
        EXPECT_EQ(saverSettings.genChildren == 9, !explode) << c.command;
    }
    SettingsStore::applyDefaults();
}

TEST(Presets, OtherCommandsChangeNothing) {
    SettingsStore::applyDefaults();
    SaverSettings before = saverSettings;
    for (int command : {1039, 1, 2, 1024, 1027, 0, 65535})
        EXPECT_FALSE(applyPresetValues(command)) << command;
    EXPECT_EQ(std::memcmp(&before, &saverSettings, sizeof before), 0);
}

TEST(Presets, RandomDrawFourIsWaveOne) {
    EXPECT_EQ(randomPresetIds[4], 1065);
    std::set<int> distinct(randomPresetIds, randomPresetIds + 8);
    EXPECT_EQ(distinct.size(), 8u);
    for (int id : randomPresetIds) EXPECT_TRUE(applyPresetValues(id)) << id;
    SettingsStore::applyDefaults();
}
