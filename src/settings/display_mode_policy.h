// Which display-mode requests to make, in which order, and what to tell the user
// when all are refused. Portable: the Windows side lists and applies the modes.
#pragma once
#include <cstdint>

enum : uint32_t { fieldBitsPerPel = 0x40000, fieldPelsWidth = 0x80000, fieldPelsHeight = 0x100000 };

struct DisplayRequest {
    int32_t width, height, bitsPerPixel;
};

// The display as the switch sees it. The platform keeps one working mode record.
struct DisplayDriver {
    // Loads listed mode `index` into the working record; false past the last one.
    bool (*loadListedMode)(int index, DisplayRequest& mode);
    // Applies the working record as it is; the platform's result code (0 = accepted).
    int (*applyWorkingMode)();
    // Puts the request's values and the given field flags into the working record, applies it.
    int (*applyWorkingFields)(const DisplayRequest& request, uint32_t fields);
    int (*restoreStoredMode)();
    void (*report)(const char* text);
};

// 1 when the display runs in the requested mode; 0 after reporting why not.
// (0, 0, 0) gives the display its stored mode back.
int switchDisplayModeWith(const DisplayDriver& driver, DisplayRequest request);

// The user's text for a refused request, by the platform's result code.
void formatSwitchReport(int result, DisplayRequest request, char (&text)[160]);

// "WIDTHxHEIGHTxBITS", as the mode list shows a mode; 40 bytes hold any three values.
void formatModeText(DisplayRequest mode, char (&text)[40]);
