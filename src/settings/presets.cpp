// The preset table: each preset sets a fixed subset of the fields and keeps the rest.
// Portable; writes saverSettings on the caller's thread.
#include "settings/presets.h"

#include <cstring>

#include "settings/settings_fields.h"

const uint16_t randomPresetIds[8] = {1025, 1026, 1072, 1064, 1065, 1066, 1067, 1068};

namespace {

const int32_t keep = INT32_MIN;  // the preset leaves this field as it is
const int presetFieldCount = 16;
const char* const presetFields[presetFieldCount] = {
    "x_div", "y_div", "Mode", "genChildren", "xyAmplitude", "xyFrequency1", "xyFrequency2",
    "enableMovement", "rotX0", "rotX1", "rotY0", "rotY1", "rotZ0", "rotZ1", "zoom0", "zoom1"};

struct Preset {
    uint16_t command;
    const char* name;
    int32_t values[presetFieldCount];
};

const Preset presets[8] = {
    //                    x   y Mode gen  amp   f1    f2 mov rX0 rX1  rY0 rY1   rZ0  rZ1 z0  z1
    {1025, "explode-1", {30, 25, 0,   2, keep, keep, keep, 1, 45, 30,  45, 25,   45,  20, 3,  0}},
    {1026, "explode-2", { 5, 35, 0,   2, keep, keep, keep, 1, 30, 30,  30, 50,   60,  20, 4,  0}},
    {1072, "explode-3", {40,  5, 0,   2, keep, keep, keep, 1,  0,  0, 360, 30,    0,   0, 5,  0}},
    {1064, "explode-4", { 5,  5, 0,   3, keep, keep, keep, 1,  0,  0,  30, 30,   20,  10, 5,  0}},
    {1065, "wave-1",    {60, 40, 3, keep,   7,   25,   25, 1,  0,  0,   0,  0,    0,   0, 14, 0}},
    {1066, "wave-2",    {80, 60, 2, keep,  80,   10,   15, 1,  0,  0,  80, 20,  360,  50, 13, 0}},
    {1067, "wave-3",    {80, 60, 3, keep,  50,   20,   20, 1,  0,  0,   0,  0, 3600, 100, 14, 0}},
    {1068, "wave-4",    {60, 40, 3, keep,  20,   20,   30, 1, 10, 30,  10, 25,   45,  20, 25, 20}},
};

}  // namespace

bool applyPresetValues(int command) {
    for (const Preset& preset : presets) {
        if (preset.command != command) continue;
        for (int i = 0; i < presetFieldCount; ++i)
            if (preset.values[i] != keep)
                assignStored(saverSettings, *findSettingsField(presetFields[i]), preset.values[i]);
        return true;
    }
    return false;
}

int presetNamed(const char* name) {
    for (const Preset& preset : presets)
        if (std::strcmp(preset.name, name) == 0) return preset.command;
    return 0;
}

const char* presetName(int command) {
    for (const Preset& preset : presets)
        if (preset.command == command) return preset.name;
    return nullptr;
}
