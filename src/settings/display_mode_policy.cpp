#include "settings/display_mode_policy.h"

#include <cstdio>

void formatSwitchReport(int result, DisplayRequest request, char (&text)[160]) {
    const char* format;
    switch (result) {
    case 1: format = "You must change your video mode to %ldx%ldx%ld-bit color and then restart\n"; break;
    case -2: format = "The video mode %ldx%ldx%ld-bit color is not supported\n"; break;
    case -1: format = "Hardware failed to change to %ldx%ldx%ld-bit color\n"; break;
    default: format = "Failed to change to %ldx%ldx%ld-bit color - unknown reason\n"; break;
    }
    std::snprintf(text, sizeof text, format, long(request.width), long(request.height),
                  long(request.bitsPerPixel));
}

void formatModeText(DisplayRequest mode, char (&text)[40]) {
    std::snprintf(text, sizeof text, "%ldx%ldx%ld", long(mode.width), long(mode.height), long(mode.bitsPerPixel));
}

static int report(const DisplayDriver& driver, int result, DisplayRequest request) {
    char text[160];
    formatSwitchReport(result, request, text);
    driver.report(text);
    return 0;
}

// Every listed refresh rate of the exact mode, in list order; returns the index of the
// first refused match (0 when none matched) through `remembered`.
static bool trySameModes(const DisplayDriver& driver, DisplayRequest request, int& remembered) {
    DisplayRequest listed;
    for (int index = 0; driver.loadListedMode(index, listed); ++index) {
        if (listed.bitsPerPixel != request.bitsPerPixel || listed.width != request.width ||
            listed.height != request.height)
            continue;
        if (driver.applyWorkingMode() == 0) return true;
        if (remembered == 0) remembered = index;
    }
    return false;
}

int switchDisplayModeWith(const DisplayDriver& driver, DisplayRequest request) {
    if (request.width == 0 && request.height == 0 && request.bitsPerPixel == 0) {
        int result = driver.restoreStoredMode();
        return result == 0 ? 1 : report(driver, result, request);
    }
    int remembered = 0;
    if (trySameModes(driver, request, remembered)) return 1;
    DisplayRequest listed;
    driver.loadListedMode(remembered, listed);
    if (driver.applyWorkingFields(request, fieldBitsPerPel | fieldPelsWidth | fieldPelsHeight) == 0) return 1;
    int result = driver.applyWorkingFields(request, fieldBitsPerPel);
    if (result != 0) return report(driver, result, request);
    result = driver.applyWorkingFields(request, fieldPelsWidth | fieldPelsHeight);
    if (result == 0) return 1;
    driver.restoreStoredMode();  // undo the depth change before telling the user
    return report(driver, result, request);
}
