// The configuration dialog: every control writes its field of saverSettings the
// moment it changes; OK saves, Cancel closes. Main thread, modal.
#include "settings/config_dialog_win32.h"

#include <commctrl.h>

#include <cstdio>

#include "resources/resource_ids.h"
#include "settings/about_dialog_win32.h"
#include "settings/config_controls.h"
#include "settings/monitor_mode.h"
#include "settings/presets_win32.h"
#include "settings/resolution_dialog_win32.h"
#include "settings/settings_fields.h"
#include "settings/settings_store.h"

static const int priorityTrackbar = 1015, priorityLabel = 1028;

static int32_t fieldValue(const char* name) { return storedValue(saverSettings, *findSettingsField(name)); }
static void setField(const char* name, int32_t value) { assignStored(saverSettings, *findSettingsField(name), value); }

static void showPriorityName(HWND dialog, int32_t priority) {
    SetDlgItemTextA(dialog, priorityLabel, priorityName(priority));
}

// A value outside the group's choices leaves the group as it is.
static void checkRadioGroup(HWND dialog, const RadioGroup& group) {
    const int32_t value = fieldValue(group.field);
    for (int i = 0; i < group.choiceCount; ++i)
        if (group.choices[i].value == value) CheckRadioButton(dialog, group.first, group.last, group.choices[i].id);
}

void fillControls(HWND dialog) {
    SendDlgItemMessageA(dialog, priorityTrackbar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 5));
    SendDlgItemMessageA(dialog, priorityTrackbar, TBM_SETPOS, TRUE, saverSettings.Priority);
    SendDlgItemMessageA(dialog, priorityTrackbar, TBM_SETLINESIZE, 0, 1);
    SendDlgItemMessageA(dialog, priorityTrackbar, TBM_SETPAGESIZE, 0, 1);
    showPriorityName(dialog, saverSettings.Priority);
    for (const FieldControl& check : checkControls)
        SendDlgItemMessageA(dialog, check.id, BM_SETCHECK, fieldValue(check.field) ? BST_CHECKED : BST_UNCHECKED, 0);
    const RadioGroup& modes = radioGroups[0];
    if (saverSettings.Mode < 0 || saverSettings.Mode > 3)
        for (int id = modes.first; id <= modes.last; ++id) CheckDlgButton(dialog, id, BST_UNCHECKED);
    for (const RadioGroup& group : radioGroups) checkRadioGroup(dialog, group);
    // A stored mode the list has no item for shows the default's; the record keeps it.
    const MonitorMode shown = monitorModeOf(saverSettings, windowsMonitorModeDefault);
    SendDlgItemMessageA(dialog, IDC_MONITOR_MODE, CB_SETCURSEL, shown, 0);
    // Each edit reads its text back as it changes: a longer value is cut to 9 characters.
    char text[16];
    for (const FieldControl& edit : editControls) {
        std::snprintf(text, sizeof text, "%d", int(fieldValue(edit.field)));
        SetDlgItemTextA(dialog, edit.id, text);
    }
}

static bool readEdit(HWND dialog, int id) {
    for (const FieldControl& edit : editControls) {
        if (edit.id != id) continue;
        char text[10] = "";
        GetDlgItemTextA(dialog, id, text, sizeof text);
        setField(edit.field, parseEditNumber(text));
        return true;
    }
    return false;
}

static bool flipCheck(int id) {
    for (const FieldControl& check : checkControls) {
        if (check.id != id) continue;
        setField(check.field, fieldValue(check.field) ? 0 : 1);
        return true;
    }
    return false;
}

static bool chooseRadio(HWND dialog, int id) {
    for (const RadioGroup& group : radioGroups)
        for (int i = 0; i < group.choiceCount; ++i) {
            if (group.choices[i].id != id) continue;
            setField(group.field, group.choices[i].value);
            CheckRadioButton(dialog, group.first, group.last, id);
            return true;
        }
    return false;
}

static void addMonitorModeItems(HWND dialog) {
    for (const char* item : monitorModeItems)
        SendDlgItemMessageA(dialog, IDC_MONITOR_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

static void onCommand(HWND dialog, int id, int notification) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    switch (id) {
    case IDOK:
        saverSettings.Priority = int32_t(SendDlgItemMessageA(dialog, priorityTrackbar, TBM_GETPOS, 0, 0));
        SettingsStore::save();
        EndDialog(dialog, 1);
        break;
    case IDCANCEL: EndDialog(dialog, 2); break;
    case 1016: DialogBoxParamA(instance, MAKEINTRESOURCEA(2004), dialog, AboutDialog, 0); break;
    case 1024:
        SettingsStore::applyDefaults();
        fillControls(dialog);
        break;
    case 1087: DialogBoxParamA(instance, MAKEINTRESOURCEA(114), dialog, ChangeResolutionDialog, 0); break;
    case IDC_MONITOR_MODE:
        // Only a choice writes: focus and the list opening and closing leave the stored mode alone.
        if (notification == CBN_SELCHANGE) {
            const LRESULT item = SendDlgItemMessageA(dialog, IDC_MONITOR_MODE, CB_GETCURSEL, 0, 0);
            if (item != CB_ERR) saverSettings.monitorMode = int32_t(item);
        }
        break;
    default:
        if (readEdit(dialog, id) || flipCheck(id) || chooseRadio(dialog, id)) break;
        if (saveBankOf(id) >= 0) SettingsStore::saveBank(saveBankOf(id));
        if (recallBankOf(id) >= 0) {
            SettingsStore::recallBank(recallBankOf(id));
            fillControls(dialog);
        }
    }
    applyPreset(WORD(id), dialog);  // only the eight preset buttons do anything here
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitCommonControls();
        SettingsStore::load();
        addMonitorModeItems(dialog);
        fillControls(dialog);
        return TRUE;
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, priorityTrackbar))
            showPriorityName(dialog, int32_t(SendDlgItemMessageA(dialog, priorityTrackbar, TBM_GETPOS, 0, 0)));
        return TRUE;
    }
    return FALSE;
}
