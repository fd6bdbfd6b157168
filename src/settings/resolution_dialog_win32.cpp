// The Change Resolution dialog: the display's current mode, a listed mode or a
// custom one typed into three edits. Main thread; writes saverSettings directly.
#include "settings/resolution_dialog_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "resources/resource_ids.h"
#include "settings/display_mode_policy.h"
#include "settings/display_mode_switcher_win32.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

enum { currentEntry = 0, customEntry = 1, firstListedEntry = 2 };

struct ModeEdit {
    int id;
    int32_t SaverSettings::*field;
};
static const ModeEdit modeEdits[] = {
    {IDC_RES_WIDTH, &SaverSettings::resW},
    {IDC_RES_HEIGHT, &SaverSettings::resH},
    {IDC_RES_DEPTH, &SaverSettings::resC},
};

static LRESULT sendToList(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(dialog, IDC_RES_LIST, message, wParam, lParam);
}

// Entries are only ever our own mode texts, so 40 bytes hold any of them.
static void entryText(HWND dialog, int index, char (&text)[40]) {
    text[0] = 0;
    if (sendToList(dialog, CB_GETLBTEXTLEN, index, 0) < LRESULT(sizeof text))
        sendToList(dialog, CB_GETLBTEXT, index, LPARAM(text));
}

void listDisplayModes(HWND dialog) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD index = 0; enumDisplaySettings(nullptr, index, &mode); ++index) {
        if (mode.dmBitsPerPel <= 4) continue;
        char text[40];
        formatModeText({LONG(mode.dmPelsWidth), LONG(mode.dmPelsHeight), LONG(mode.dmBitsPerPel)}, text);
        sendToList(dialog, CB_ADDSTRING, 0, LPARAM(text));
    }
}

// The last listed entry equal to the configured mode, else "Custom"; no mode: "Current".
static void selectConfiguredMode(HWND dialog) {
    const SaverSettings& s = saverSettings;
    if (!s.resW || !s.resH || !s.resC) {
        sendToList(dialog, CB_SETCURSEL, currentEntry, 0);
        return;
    }
    sendToList(dialog, CB_SETCURSEL, customEntry, 0);
    char wanted[40], entry[40];
    formatModeText({s.resW, s.resH, s.resC}, wanted);
    const int count = int(sendToList(dialog, CB_GETCOUNT, 0, 0));
    for (int index = firstListedEntry; index < count; ++index) {
        entryText(dialog, index, entry);
        if (std::strcmp(entry, wanted) == 0) sendToList(dialog, CB_SETCURSEL, index, 0);
    }
}

static void fillDialog(HWND dialog) {
    for (const ModeEdit& edit : modeEdits) SetDlgItemInt(dialog, edit.id, UINT(saverSettings.*edit.field), TRUE);
    sendToList(dialog, CB_RESETCONTENT, 0, 0);
    sendToList(dialog, CB_ADDSTRING, 0, LPARAM("Current Resolution"));
    sendToList(dialog, CB_ADDSTRING, 0, LPARAM("Custom (Enter below)"));
    listDisplayModes(dialog);
    selectConfiguredMode(dialog);
}

// Every notification of an edit stores its number at once, so the fields follow the typing.
static bool followEdit(HWND dialog, int id) {
    for (const ModeEdit& edit : modeEdits) {
        if (edit.id != id) continue;
        char text[64];
        GetDlgItemTextA(dialog, id, text, sizeof text);
        saverSettings.*edit.field = std::atoi(text);
        return true;
    }
    return false;
}

// "Current": no switch. "Custom" or typed text (no selection): the edits already hold it.
static void keepChosenMode(HWND dialog) {
    const int selection = int(sendToList(dialog, CB_GETCURSEL, 0, 0));
    SaverSettings& s = saverSettings;
    if (selection == currentEntry) {
        s.resW = s.resH = s.resC = 0;
    } else if (selection >= firstListedEntry) {
        char entry[40];
        entryText(dialog, selection, entry);
        std::sscanf(entry, "%dx%dx%d", &s.resW, &s.resH, &s.resC);
    }
}

INT_PTR CALLBACK ChangeResolutionDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) fillDialog(dialog);
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (followEdit(dialog, id)) return FALSE;
    if (id == IDOK) {
        keepChosenMode(dialog);
        SettingsStore::save();
        EndDialog(dialog, 1);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 2);
    }
    return FALSE;
}
