// The eight built-in presets, named by the command identifiers of their dialog buttons.
// Applied on the dialog's thread, or once by the render thread before its first frame.
#pragma once
#include <cstdint>

// Writes the preset's values into saverSettings; false (and nothing changed) when
// `command` names no preset.
bool applyPresetValues(int command);

// The preset for each value 0..7 of the render thread's random draw.
extern const uint16_t randomPresetIds[8];

// Presets by name, as command lines give them: "explode-1".."explode-4", "wave-1".."wave-4"
// (the dialog's two rows of buttons). 0 / null when there is no such preset.
int presetNamed(const char* name);
const char* presetName(int command);
