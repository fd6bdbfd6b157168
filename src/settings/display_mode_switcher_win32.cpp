// The Windows side of the display-mode switch: lists modes and applies them.
#include "settings/display_mode_switcher_win32.h"

#include "settings/display_mode_policy.h"

BOOL(WINAPI* enumDisplaySettings)(LPCSTR, DWORD, DEVMODEA*) = EnumDisplaySettingsA;
LONG(WINAPI* changeDisplaySettings)(DEVMODEA*, DWORD) = ChangeDisplaySettingsA;
int(WINAPI* showMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = MessageBoxA;

static DEVMODEA workingMode;

static bool loadListedMode(int index, DisplayRequest& mode) {
    workingMode = {};
    workingMode.dmSize = sizeof workingMode;
    if (!enumDisplaySettings(nullptr, DWORD(index), &workingMode)) return false;
    mode = {LONG(workingMode.dmPelsWidth), LONG(workingMode.dmPelsHeight), LONG(workingMode.dmBitsPerPel)};
    return true;
}

static int applyWorkingMode() { return int(changeDisplaySettings(&workingMode, CDS_FULLSCREEN)); }

static int applyWorkingFields(const DisplayRequest& request, uint32_t fields) {
    workingMode.dmBitsPerPel = DWORD(request.bitsPerPixel);
    workingMode.dmPelsWidth = DWORD(request.width);
    workingMode.dmPelsHeight = DWORD(request.height);
    workingMode.dmFields = fields;
    return applyWorkingMode();
}

// The platform's own restore: it does not depend on a driver reading zeros as "stored".
static int restoreStoredMode() { return int(changeDisplaySettings(nullptr, 0)); }

static void report(const char* text) { showMessageBox(nullptr, text, "SS Error", MB_ICONERROR); }

int switchDisplayMode(int width, int height, int bitsPerPixel) {
    static const DisplayDriver windowsDriver = {loadListedMode, applyWorkingMode, applyWorkingFields,
                                                restoreStoredMode, report};
    return switchDisplayModeWith(windowsDriver, {width, height, bitsPerPixel});
}
