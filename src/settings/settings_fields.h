// The one table of settings fields: registry name, type, default, bank slot and range.
// It drives defaults, load, save and the user banks, the dialog's edits, and the
// options, help and daemon dialog of the X11 saver.
// Constant data, read by any thread.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/saver_settings.h"

struct SettingsField {
    const char* name;  // registry value name, also the record's field name
    // Exactly one is set: the field is an int32 or a float32 holding a whole number.
    int32_t SaverSettings::*intField;
    float SaverSettings::*floatField;
    int32_t defaultValue;
    int bankSlot;  // -1: not part of a user bank
    // The values a user may give on a command line. Stored values are not checked
    // against it: the registry and the Windows dialog take any 32-bit value.
    int32_t minValue, maxValue;
};

extern const SettingsField settingsFields[30];
const int settingsFieldCount = 30;
const int bankSlotCount = 26;

// The stored form of a field (floats truncated toward zero) and its way back.
int32_t storedValue(const SaverSettings& settings, const SettingsField& field);
constexpr void assignStored(SaverSettings& settings, const SettingsField& field, int32_t value) {
    if (field.floatField)
        settings.*field.floatField = float(value);
    else
        settings.*field.intField = value;
}

// A field's value from the bytes the registry hands over, whatever the value's type: up to 4
// bytes, least significant first, a shorter value zero-filled. False for a longer one, which
// the store's 4-byte query refuses (the field keeps its default, or a bank slot recalls 0).
bool storedValueFromBytes(const uint8_t* bytes, size_t size, int32_t& value);

// Float to the registry's whole number, truncated toward zero; saturates where the
// float is beyond 32 bits instead of overflowing.
int32_t truncateToInt32(float value);

// Registry value name of a bank slot, "usersave%02d_%02d": always 13 characters.
void bankValueName(int bank, int slot, char (&name)[16]);

SaverSettings defaultSettings();

// The table entry of a field by its registry name; null when there is none.
const SettingsField* findSettingsField(const char* name);
