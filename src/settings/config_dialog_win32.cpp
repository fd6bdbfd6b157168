// The configuration dialog procedure. Its template and controls are not in the
// resources yet, so DialogBoxParamA fails and /c ends with -1; the procedure and
// the refill get their controls together with the template.
#include "settings/config_dialog_win32.h"

INT_PTR CALLBACK ConfigDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void fillControls(HWND) {}
