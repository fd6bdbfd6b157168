// Persistent form of saverSettings: one registry key of the current user,
// plus four user preset banks (A..D = 0..3) under the same key.
#pragma once

namespace SettingsStore {
void applyDefaults();
void load();
void save();
void saveBank(int bank);
void recallBank(int bank);
}
