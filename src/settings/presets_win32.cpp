#include "settings/presets_win32.h"

#include "settings/config_dialog_win32.h"
#include "settings/presets.h"

void applyPreset(WORD command, HWND dialog) {
    if (applyPresetValues(command) && dialog) fillControls(dialog);
}
