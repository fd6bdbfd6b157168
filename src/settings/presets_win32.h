// Applying a preset from the configuration dialog or the render thread.
#pragma once
#include <windows.h>

// Applies the preset named by `command`, then refills `dialog` when one is given.
// Any other command changes nothing.
void applyPreset(WORD command, HWND dialog);
