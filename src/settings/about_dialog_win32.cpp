// The About dialog's handler: centres itself, draws the two links in blue, opens them,
// and shows the banner at the dialog's scale.
#include "settings/about_dialog_win32.h"

#include <shellapi.h>

// Addresses under a domain reserved for documentation until real ones exist.
const char aboutWebLink[] = "http://www.veltrask.example/";
const char aboutMailLink[] = "mailto:help@veltrask.example?SUBJECT=Quakeglass";

static const int mailLabel = 1019, webLabel = 1020, bannerControl = 1021, bannerBitmap = 121;
static const UINT dpiChangedMessage = 0x02E0;  // WM_DPICHANGED, Windows 8.1 on

static void centreOnDesktop(HWND dialog) {
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(dialog, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    MoveWindow(dialog, desktop.left + ((desktop.right - desktop.left) - width) / 2,
               desktop.top + ((desktop.bottom - desktop.top) - height) / 2, width, height, TRUE);
}

// The dots per inch the dialog is drawn at: its monitor's where the system says so
// (Windows 10 1607 on), else the screen's.
static UINT dialogDpi(HWND dialog) {
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow) return dpiForWindow(dialog);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

static HBITMAP stretched(HBITMAP drawn, UINT dpi) {
    BITMAP size;
    GetObjectA(drawn, sizeof size, &size);
    const int width = MulDiv(size.bmWidth, dpi, 96), height = MulDiv(size.bmHeight, dpi, 96);
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ fromBefore = SelectObject(from, drawn), toBefore = SelectObject(to, scaled);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(from, fromBefore);
    SelectObject(to, toBefore);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return scaled;
}

// Windows scales a DPI-aware dialog's fonts and units but not its bitmaps, so the banner,
// drawn for 96 dpi, is stretched to the dialog's scale; the control takes the new size.
static void showBanner(HWND dialog, UINT dpi) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HBITMAP shown = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(bannerBitmap), IMAGE_BITMAP, 0, 0, 0));
    if (shown && dpi != 96) {
        HBITMAP drawn = shown;
        shown = stretched(drawn, dpi);
        DeleteObject(drawn);
    }
    HGDIOBJ before = reinterpret_cast<HGDIOBJ>(
        SendDlgItemMessageA(dialog, bannerControl, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown)));
    if (before) DeleteObject(before);
}

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // At 100% the template's own bitmap stays, as drawn.
        if (dialogDpi(dialog) != 96) showBanner(dialog, dialogDpi(dialog));
        centreOnDesktop(dialog);
        return FALSE;
    case dpiChangedMessage:  // moved to a monitor of another scale; the default handling goes on
        showBanner(dialog, LOWORD(wParam));
        return FALSE;
    case WM_DESTROY:  // the control does not free its bitmap
        DeleteObject(reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(dialog, bannerControl, STM_SETIMAGE, IMAGE_BITMAP, 0)));
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
