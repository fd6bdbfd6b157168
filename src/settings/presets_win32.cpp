// The Windows face of the presets: the portable values, then the dialog's refill.
// Runs on the configuration dialog's thread or once on the render thread.
#include "settings/presets_win32.h"

#include "settings/config_dialog_win32.h"
#include "settings/presets.h"

void applyPreset(WORD command, HWND dialog) {
    if (applyPresetValues(command) && dialog) fillControls(dialog);
}
