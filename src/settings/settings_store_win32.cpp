// The registry side of the settings: one key of the current user, one REG_DWORD per
// field and per bank slot. Failures are silent; a value that cannot be read keeps
// its default (load) or becomes 0 (bank recall). Main thread (saver window or dialog).
#include <windows.h>

#include "settings/settings_fields.h"
#include "settings/settings_store.h"

static const char settingsKey[] = "Software\\Veltrask\\ss\\qg\\16";

static HKEY openForReading() {
    HKEY key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

static HKEY openForWriting() {
    HKEY key;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, settingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_WRITE, nullptr, &key, nullptr);
    return result == ERROR_SUCCESS ? key : nullptr;
}

// Any value of at most 4 bytes, whatever its type. A longer one fails: the query never
// writes past the 4-byte buffer.
static bool readValue(HKEY key, const char* name, int32_t& value) {
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) return false;
    return storedValueFromBytes(bytes, size, value);
}

static void writeValue(HKEY key, const char* name, int32_t value) {
    DWORD data = DWORD(value);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

namespace SettingsStore {

void load() {
    applyDefaults();
    HKEY key = openForReading();
    if (!key) return;
    int32_t value;
    for (const SettingsField& field : settingsFields)
        if (readValue(key, field.name, value)) assignStored(saverSettings, field, value);
    RegCloseKey(key);
}

void save() {
    HKEY key = openForWriting();
    if (!key) return;
    for (const SettingsField& field : settingsFields)
        writeValue(key, field.name, storedValue(saverSettings, field));
    RegCloseKey(key);
}

void saveBank(int bank) {
    HKEY key = openForWriting();
    if (!key) return;
    char name[16];
    for (const SettingsField& field : settingsFields) {
        if (field.bankSlot < 0) continue;
        bankValueName(bank, field.bankSlot, name);
        writeValue(key, name, storedValue(saverSettings, field));
    }
    RegCloseKey(key);
}

void recallBank(int bank) {
    HKEY key = openForReading();
    if (!key) return;
    char name[16];
    for (const SettingsField& field : settingsFields) {
        if (field.bankSlot < 0) continue;
        bankValueName(bank, field.bankSlot, name);
        int32_t value = 0;  // a missing slot recalls as 0
        readValue(key, name, value);
        assignStored(saverSettings, field, value);
    }
    RegCloseKey(key);
}

}  // namespace SettingsStore
