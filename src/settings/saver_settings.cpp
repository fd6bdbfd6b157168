// The settings record, its field table, defaults and conversions. Portable: the
// registry calls are in settings_store_win32.cpp.
#include "settings/settings_fields.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#define FIELD(name, isFloat, value, slot) {#name, isFloat, value, slot, offsetof(SaverSettings, name)}

// In registry order; banks use the slot numbers 00..25.
const SettingsField settingsFields[29] = {
    FIELD(Priority, false, 2, 0),         FIELD(x_div, true, 25, 1),
    FIELD(y_div, true, 19, 2),            FIELD(xyAmplitude, true, 10, 3),
    FIELD(xyFrequency1, true, 10, 4),     FIELD(xyFrequency2, true, 10, 5),
    FIELD(xySizeX, true, 60, 6),          FIELD(xySizeY, true, 60, 7),
    FIELD(Mode, false, 0, 8),             FIELD(genChildren, false, 2, 9),
    FIELD(xyGoraud, false, 1, 10),        FIELD(useLinear, false, 1, 11),
    FIELD(screenTextureWidth, false, 512, 12), FIELD(screenTextureHeight, false, 256, 13),
    FIELD(useTrails, false, 0, 14),       FIELD(enableMovement, false, 1, 15),
    FIELD(rotX0, true, 10, 16),           FIELD(rotX1, true, 30, 17),
    FIELD(rotY0, true, 10, 18),           FIELD(rotY1, true, 25, 19),
    FIELD(rotZ0, true, 45, 20),           FIELD(rotZ1, true, 20, 21),
    FIELD(zoom0, true, 25, 22),           FIELD(zoom1, true, 20, 23),
    FIELD(useOGL, false, 0, 24),          FIELD(randPreset, false, 0, 25),
    FIELD(resW, false, 0, -1),            FIELD(resH, false, 0, -1),
    FIELD(resC, false, 0, -1),
};
#undef FIELD

int32_t truncateToInt32(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return int32_t(value);
}

int32_t storedValue(const SaverSettings& settings, const SettingsField& field) {
    const char* at = reinterpret_cast<const char*>(&settings) + field.offset;
    if (field.isFloat) {
        float value;
        std::memcpy(&value, at, sizeof value);
        return truncateToInt32(value);
    }
    int32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void assignStored(SaverSettings& settings, const SettingsField& field, int32_t value) {
    char* at = reinterpret_cast<char*>(&settings) + field.offset;
    if (field.isFloat) {
        float converted = float(value);
        std::memcpy(at, &converted, sizeof converted);
    } else {
        std::memcpy(at, &value, sizeof value);
    }
}

void bankValueName(int bank, int slot, char (&name)[16]) {
    std::snprintf(name, sizeof name, "usersave%02d_%02d", bank, slot);
}

SaverSettings defaultSettings() {
    SaverSettings settings;
    for (const SettingsField& field : settingsFields) assignStored(settings, field, field.defaultValue);
    return settings;
}

const SettingsField* findSettingsField(const char* name) {
    for (const SettingsField& field : settingsFields)
        if (std::strcmp(field.name, name) == 0) return &field;
    return nullptr;
}

SaverSettings saverSettings = defaultSettings();

namespace SettingsStore {
void applyDefaults() { saverSettings = defaultSettings(); }
}
