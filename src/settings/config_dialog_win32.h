// The configuration dialog (template 2003): edits saverSettings in place, main thread only.
#pragma once
#include <windows.h>

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Refills every control of the dialog from saverSettings (after a preset or a bank recall).
void fillControls(HWND dialog);
