#include "settings/about_dialog_win32.h"

#include <shellapi.h>

// Addresses under a domain reserved for documentation until real ones exist.
const char aboutWebLink[] = "http://www.veltrask.example/";
const char aboutMailLink[] = "mailto:help@veltrask.example?SUBJECT=Quakeglass";

static const int mailLabel = 1019, webLabel = 1020;

static void centreOnDesktop(HWND dialog) {
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(dialog, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    MoveWindow(dialog, desktop.left + ((desktop.right - desktop.left) - width) / 2,
               desktop.top + ((desktop.bottom - desktop.top) - height) / 2, width, height, TRUE);
}

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        centreOnDesktop(dialog);
        return FALSE;
    case WM_CTLCOLORSTATIC: {
        HWND label = reinterpret_cast<HWND>(lParam);
        if (label != GetDlgItem(dialog, mailLabel) && label != GetDlgItem(dialog, webLabel)) return FALSE;
        HDC context = reinterpret_cast<HDC>(wParam);
        SetTextColor(context, RGB(0, 0, 255));
        SetBkColor(context, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: EndDialog(dialog, 1); break;
        case IDCANCEL: EndDialog(dialog, 2); break;
        case mailLabel: ShellExecuteA(nullptr, "open", aboutMailLink, nullptr, nullptr, SW_SHOWNORMAL); break;
        case webLabel: ShellExecuteA(nullptr, "open", aboutWebLink, nullptr, nullptr, SW_SHOWNORMAL); break;
        }
        return FALSE;
    }
    return FALSE;
}
