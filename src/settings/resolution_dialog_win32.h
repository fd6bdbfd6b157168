// The Change Resolution dialog (template 114): chooses the display mode that a
// full-screen run switches to. Main thread, opened modally by the configuration dialog.
#pragma once
#include <windows.h>

// Edits resW, resH and resC of saverSettings in place; OK saves the whole record.
INT_PTR CALLBACK ChangeResolutionDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Adds every mode the driver lists with more than 4 bits per pixel to the mode list.
void listDisplayModes(HWND dialog);
