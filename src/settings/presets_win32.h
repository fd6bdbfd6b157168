// Applying a preset from the configuration dialog (which is then refilled) or from
// the render thread at the start of a run (no dialog).
#pragma once
#include <windows.h>

// Applies the preset named by `command`, then refills `dialog` when one is given.
// Any other command changes nothing.
void applyPreset(WORD command, HWND dialog);
