// The About dialog (template 2004): banner, version, and links to the maker's site
// and support mailbox. Main thread, modal over the configuration dialog.
#pragma once
#include <windows.h>

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

extern const char aboutWebLink[];
extern const char aboutMailLink[];
