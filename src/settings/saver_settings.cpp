// The settings record, its field table, defaults and conversions. Portable: the
// registry calls are in settings_store_win32.cpp. The record is constant-initialised
// to the defaults, so it holds them before any code of the process runs.
#include "settings/settings_fields.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#define INT_FIELD(name, value, slot, low, high) {#name, &SaverSettings::name, nullptr, value, slot, low, high}
#define FLOAT_FIELD(name, value, slot, low, high) {#name, nullptr, &SaverSettings::name, value, slot, low, high}

// In registry order; banks use the slot numbers 00..25. Ranges: the grid sides keep
// x_div * y_div within the explode's maxFragments, texture sides within maxSnapshotSide,
// amplitudes and times cover every preset (Wave 3 swings 3600 degrees). monitorMode's
// default is Windows's; the native saver has its own (xscreensaver/saver_options.h).
constexpr SettingsField settingsFields[30] = {
    INT_FIELD(Priority, 2, 0, 0, 5),
    FLOAT_FIELD(x_div, 25, 1, 1, 512),
    FLOAT_FIELD(y_div, 19, 2, 1, 512),
    FLOAT_FIELD(xyAmplitude, 10, 3, 0, 500),
    FLOAT_FIELD(xyFrequency1, 10, 4, 0, 200),
    FLOAT_FIELD(xyFrequency2, 10, 5, 0, 200),
    FLOAT_FIELD(xySizeX, 60, 6, 0, 1000),
    FLOAT_FIELD(xySizeY, 60, 7, 0, 1000),
    INT_FIELD(Mode, 0, 8, 0, 3),
    INT_FIELD(genChildren, 2, 9, 0, 8),
    INT_FIELD(xyGoraud, 1, 10, 0, 1),
    INT_FIELD(useLinear, 1, 11, 0, 1),
    INT_FIELD(screenTextureWidth, 512, 12, 1, 8192),
    INT_FIELD(screenTextureHeight, 256, 13, 1, 8192),
    INT_FIELD(useTrails, 0, 14, 0, 1),
    INT_FIELD(enableMovement, 1, 15, 0, 1),
    FLOAT_FIELD(rotX0, 10, 16, 0, 3600),
    FLOAT_FIELD(rotX1, 30, 17, 0, 1000),
    FLOAT_FIELD(rotY0, 10, 18, 0, 3600),
    FLOAT_FIELD(rotY1, 25, 19, 0, 1000),
    FLOAT_FIELD(rotZ0, 45, 20, 0, 3600),
    FLOAT_FIELD(rotZ1, 20, 21, 0, 1000),
    FLOAT_FIELD(zoom0, 25, 22, 1, 100),
    FLOAT_FIELD(zoom1, 20, 23, 0, 1000),
    INT_FIELD(useOGL, 0, 24, 0, 1),
    INT_FIELD(randPreset, 0, 25, 0, 1),
    INT_FIELD(resW, 0, -1, 0, 16384),
    INT_FIELD(resH, 0, -1, 0, 16384),
    INT_FIELD(resC, 0, -1, 0, 32),
    INT_FIELD(monitorMode, 0, -1, 0, 2),
};
#undef INT_FIELD
#undef FLOAT_FIELD

static constexpr SaverSettings tableDefaults() {
    SaverSettings settings{};
    for (const SettingsField& field : settingsFields) assignStored(settings, field, field.defaultValue);
    return settings;
}

static constexpr SaverSettings defaults = tableDefaults();

int32_t truncateToInt32(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return int32_t(value);
}

bool storedValueFromBytes(const uint8_t* bytes, size_t size, int32_t& value) {
    if (size > 4) return false;
    uint32_t bits = 0;
    for (size_t i = 0; i < size; ++i) bits |= uint32_t(bytes[i]) << (8 * i);
    value = int32_t(bits);
    return true;
}

int32_t storedValue(const SaverSettings& settings, const SettingsField& field) {
    return field.floatField ? truncateToInt32(settings.*field.floatField) : settings.*field.intField;
}

void bankValueName(int bank, int slot, char (&name)[16]) {
    std::snprintf(name, sizeof name, "usersave%02d_%02d", bank, slot);
}

SaverSettings defaultSettings() { return defaults; }

const SettingsField* findSettingsField(const char* name) {
    for (const SettingsField& field : settingsFields)
        if (std::strcmp(field.name, name) == 0) return &field;
    return nullptr;
}

SaverSettings saverSettings = defaults;

namespace SettingsStore {
void applyDefaults() { saverSettings = defaults; }
}
