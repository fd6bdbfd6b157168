// The settings store against the real registry of the test prefix. Each test starts
// and ends without the key, so that none depends on another.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "settings/monitor_mode.h"
#include "settings/settings_fields.h"
#include "settings/settings_store.h"

namespace {

const char keyPath[] = "Software\\Veltrask\\ss\\qg\\16";

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { clearKey(); }
    void TearDown() override { clearKey(); }

    static void clearKey() {
        RegDeleteKeyA(HKEY_CURRENT_USER, keyPath);
        SettingsStore::applyDefaults();
    }
    static void put(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    static void putDword(const char* name, int32_t value) { put(name, REG_DWORD, &value, 4); }
    // Every value under the key: name -> (type, 32-bit data).
    static std::set<std::string> valueNames(DWORD* nonDwordCount = nullptr) {
        std::set<std::string> names;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
        char name[64];
        DWORD type, others = 0;
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumValueA(key, i, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.insert(name);
            if (type != REG_DWORD) ++others;
        }
        RegCloseKey(key);
        if (nonDwordCount) *nonDwordCount = others;
        return names;
    }
    static bool keyExists() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    static bool sameAsDefaults() {
        SaverSettings defaults = defaultSettings();
        return std::memcmp(&defaults, &saverSettings, sizeof defaults) == 0;
    }
};

}  // namespace

TEST_F(SettingsStoreTest, NoKeyLoadsTheDefaultsWithoutWritingAndSaveCreatesAllValues) {
    saverSettings.Mode = 3;
    SettingsStore::load();
    EXPECT_TRUE(sameAsDefaults());
    EXPECT_FALSE(keyExists());
    SettingsStore::save();
    DWORD others = 99;
    std::set<std::string> names = valueNames(&others);
    EXPECT_EQ(names.size(), 30u);
    EXPECT_EQ(others, 0u);
    for (const SettingsField& field : settingsFields) EXPECT_EQ(names.count(field.name), 1u) << field.name;
    SettingsStore::load();
    EXPECT_TRUE(sameAsDefaults());
}

TEST_F(SettingsStoreTest, SavedValuesComeBackTruncated) {
    saverSettings.x_div = 7.9f;
    saverSettings.rotZ0 = -3.7f;
    saverSettings.Priority = 9;
    saverSettings.resW = 1024;
    SettingsStore::save();
    SettingsStore::applyDefaults();
    SettingsStore::load();
    EXPECT_EQ(saverSettings.x_div, 7.0f);
    EXPECT_EQ(saverSettings.rotZ0, -3.0f);
    EXPECT_EQ(saverSettings.Priority, 9);
    EXPECT_EQ(saverSettings.resW, 1024);
}

TEST_F(SettingsStoreTest, OddValuesLoadAsTheyCanOrKeepTheirDefault) {
    putDword("Mode", 2);
    putDword("x_div", 2000000000);
    const char text[] = "hello world";
    put("y_div", REG_SZ, text, sizeof text);           // longer than 4 bytes: default
    const BYTE two[] = {0x34, 0x12};
    put("genChildren", REG_BINARY, two, sizeof two);   // shorter: zero-filled
    const char three[] = "ab";
    put("Priority", REG_SZ, three, 3);                 // any type of 4 bytes or less counts
    int32_t minus = -1;
    put("screenTextureWidth", REG_BINARY, &minus, 4);
    SettingsStore::load();
    EXPECT_EQ(saverSettings.Mode, 2);
    EXPECT_EQ(saverSettings.x_div, 2000000000.0f);
    EXPECT_EQ(saverSettings.y_div, 19.0f);
    EXPECT_EQ(saverSettings.genChildren, 0x1234);
    EXPECT_EQ(saverSettings.Priority, 'a' | 'b' << 8);
    EXPECT_EQ(saverSettings.screenTextureWidth, -1);
    EXPECT_EQ(saverSettings.zoom0, 25.0f);
    EXPECT_EQ(valueNames().size(), 6u);  // loading wrote nothing
}

TEST_F(SettingsStoreTest, AKeyWithOnlyModeLoadsTheDefaultsWithThatMode) {
    putDword("Mode", 2);
    SettingsStore::load();
    SaverSettings expected = defaultSettings();
    expected.Mode = Wave2;
    EXPECT_EQ(std::memcmp(&expected, &saverSettings, sizeof expected), 0);
}

// A key saved before there was a monitorMode holds every other field: it loads as one
// scene across all monitors, whatever the record held, and keeps the rest. A stored mode
// comes back as it was, also one that names no mode (drawn as the default).
TEST_F(SettingsStoreTest, AKeyWithoutMonitorModeLoadsAsOneSceneAcrossAllMonitors) {
    for (const SettingsField& field : settingsFields)
        if (field.intField != &SaverSettings::monitorMode) putDword(field.name, 3);
    saverSettings.monitorMode = PrimaryMonitorOnly;
    SettingsStore::load();
    EXPECT_EQ(saverSettings.monitorMode, SpanMonitors);
    EXPECT_EQ(saverSettings.x_div, 3.0f);
    EXPECT_EQ(saverSettings.resC, 3);
    EXPECT_EQ(valueNames().count("monitorMode"), 0u);
    for (int32_t stored : {2, 7, -1}) {
        putDword("monitorMode", stored);
        SettingsStore::load();
        EXPECT_EQ(saverSettings.monitorMode, stored);
        SettingsStore::save();
        SettingsStore::applyDefaults();
        SettingsStore::load();
        EXPECT_EQ(saverSettings.monitorMode, stored);
    }
    EXPECT_EQ(monitorModeOf(saverSettings, windowsMonitorModeDefault), SpanMonitors);
}

TEST_F(SettingsStoreTest, BankDHoldsExactlyItsTwentySixSlots) {
    SettingsStore::saveBank(3);
    std::set<std::string> names = valueNames();
    ASSERT_EQ(names.size(), 26u);
    EXPECT_EQ(*names.begin(), "usersave03_00");
    EXPECT_EQ(*names.rbegin(), "usersave03_25");
}

TEST_F(SettingsStoreTest, RecallingAnUnsavedBankZeroesTheBankedFieldsOnly) {
    SettingsStore::saveBank(0);
    saverSettings.resW = 800, saverSettings.resH = 600, saverSettings.resC = 16;
    saverSettings.monitorMode = EachMonitor;
    SettingsStore::recallBank(1);
    for (const SettingsField& field : settingsFields) {
        if (field.bankSlot < 0) continue;
        EXPECT_EQ(storedValue(saverSettings, field), 0) << field.name;
    }
    EXPECT_EQ(saverSettings.resW, 800);
    EXPECT_EQ(saverSettings.resH, 600);
    EXPECT_EQ(saverSettings.resC, 16);
    EXPECT_EQ(saverSettings.monitorMode, EachMonitor);
    SettingsStore::recallBank(0);
    saverSettings.resW = saverSettings.resH = saverSettings.resC = saverSettings.monitorMode = 0;
    EXPECT_TRUE(sameAsDefaults());
}

TEST_F(SettingsStoreTest, RecallWithoutAKeyChangesNothing) {
    saverSettings.Mode = 2;
    SettingsStore::recallBank(2);
    EXPECT_EQ(saverSettings.Mode, 2);
    EXPECT_EQ(saverSettings.x_div, 25.0f);
    EXPECT_FALSE(keyExists());
}
