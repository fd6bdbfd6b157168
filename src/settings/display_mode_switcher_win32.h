// Switching the display to a configured mode while the saver runs, and back.
// Main thread.
#pragma once
#include <windows.h>

// Returns 1 on success; (0, 0, 0) gives the display its stored mode back.
// On failure the user has been told why, and the result is 0.
int switchDisplayMode(int width, int height, int bitsPerPixel);

// The platform calls the switch makes; tests put a pretend driver here.
extern BOOL(WINAPI* enumDisplaySettings)(LPCSTR device, DWORD index, DEVMODEA* mode);
extern LONG(WINAPI* changeDisplaySettings)(DEVMODEA* mode, DWORD flags);
extern int(WINAPI* showMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
