// The configuration and About dialogs, created from their real templates and driven
// with the messages a user's typing and clicking sends.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"
#include "settings/about_dialog_win32.h"
#include "settings/config_dialog_win32.h"
#include "settings/settings_fields.h"
#include "settings/settings_store.h"

namespace {

const char keyPath[] = "Software\\Veltrask\\ss\\qg\\16";

void putDword(const char* name, int32_t value) {
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
}

// The stored value, or "missing".
std::string stored(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "missing";
    int32_t value;
    DWORD size = 4;
    LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::to_string(value) : "missing";
}

struct ConfigDialogTest : testing::Test {
    HWND dialog = nullptr;
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, keyPath); }
    void TearDown() override {
        if (IsWindow(dialog)) DestroyWindow(dialog);
        RegDeleteKeyA(HKEY_CURRENT_USER, keyPath);
    }
    void open() {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2003), nullptr, ConfigDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
    }
    void type(int id, const char* text) { SetDlgItemTextA(dialog, id, text); }
    void click(int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    std::string text(int id) {
        char buffer[64] = "";
        GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
        return buffer;
    }
    bool checked(int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    LRESULT trackbar() { return SendDlgItemMessageA(dialog, 1015, TBM_GETPOS, 0, 0); }
    // The "Monitors" drop-down: the item shown, and a key pressed on it as a user would.
    LRESULT monitorItem() { return SendDlgItemMessageA(dialog, IDC_MONITOR_MODE, CB_GETCURSEL, 0, 0); }
    void monitorKey(WPARAM key) { SendDlgItemMessageA(dialog, IDC_MONITOR_MODE, WM_KEYDOWN, key, 0); }
};

}  // namespace

TEST_F(ConfigDialogTest, TypedNumbersChangeTheirFieldsAtOnceAndOkSavesThem) {
    open();
    type(1039, "0");
    EXPECT_EQ(saverSettings.x_div, 0.0f);
    type(1040, "");
    EXPECT_EQ(saverSettings.y_div, 0.0f);
    type(1071, "1234567890");
    EXPECT_EQ(saverSettings.genChildren, 123456789);
    type(1037, "7");
    EXPECT_EQ(saverSettings.zoom0, 7.0f);
    EXPECT_EQ(stored("x_div"), "missing");  // nothing written before OK
    click(IDOK);
    EXPECT_EQ(stored("x_div"), "0");
    EXPECT_EQ(stored("y_div"), "0");
    EXPECT_EQ(stored("zoom0"), "7");
    EXPECT_EQ(stored("genChildren"), "123456789");
}

TEST_F(ConfigDialogTest, OddStoredValuesShowAsTheControlsCan) {
    putDword("x_div", 1234567890);
    putDword("Priority", 9);
    putDword("screenTextureHeight", 300);
    putDword("Mode", 7);
    open();
    EXPECT_EQ(saverSettings.x_div, 123456789.0f);  // the edit read its own text back
    EXPECT_EQ(trackbar(), 5);
    EXPECT_EQ(text(1028), "Time Critical");
    for (int id = 1055; id <= 1059; ++id) EXPECT_FALSE(checked(id)) << id;
    for (int id = 1060; id <= 1063; ++id) EXPECT_FALSE(checked(id)) << id;
    EXPECT_TRUE(checked(1050));  // width 512 from the defaults
    click(IDOK);
    EXPECT_EQ(stored("Priority"), "5");
    EXPECT_EQ(stored("screenTextureHeight"), "300");
}

TEST_F(ConfigDialogTest, DefaultsRefillEveryControlAndClearTheDisplayMode) {
    putDword("resW", 800), putDword("resH", 600), putDword("resC", 16);
    putDword("Mode", 2), putDword("useOGL", 1), putDword("xyGoraud", 0), putDword("rotZ1", 99);
    open();
    EXPECT_TRUE(checked(1062));
    click(1024);
    EXPECT_EQ(saverSettings.resW | saverSettings.resH | saverSettings.resC, 0);
    EXPECT_EQ(trackbar(), 2);
    EXPECT_EQ(text(1028), "Normal");
    EXPECT_TRUE(checked(1060));
    EXPECT_FALSE(checked(1062));
    EXPECT_TRUE(checked(1050) && checked(1057));
    EXPECT_TRUE(checked(1041) && checked(1080) && checked(1038));
    EXPECT_FALSE(checked(1086) || checked(1093));
    const char* edits[][2] = {{"1039", "25"}, {"1040", "19"}, {"1071", "2"},  {"1042", "10"}, {"1043", "10"},
                              {"1044", "10"}, {"1031", "10"}, {"1030", "30"}, {"1033", "10"}, {"1032", "25"},
                              {"1035", "45"}, {"1034", "20"}, {"1037", "25"}, {"1036", "20"}};
    for (auto& edit : edits) EXPECT_EQ(text(std::stoi(edit[0])), edit[1]) << edit[0];
}

TEST_F(ConfigDialogTest, PresetsRadioButtonsAndCheckBoxes) {
    open();
    click(1065);  // Wave preset 1 selects the third wave view
    EXPECT_EQ(saverSettings.Mode, 3);
    EXPECT_TRUE(checked(1063));
    EXPECT_EQ(text(1039), "60");
    click(1061);
    EXPECT_EQ(saverSettings.Mode, 1);
    EXPECT_TRUE(checked(1061) && !checked(1063));
    click(1052);
    EXPECT_EQ(saverSettings.screenTextureWidth, 1024);
    click(1059);
    EXPECT_EQ(saverSettings.screenTextureHeight, 2048);
    click(1093);
    EXPECT_EQ(saverSettings.randPreset, 1);
    EXPECT_EQ(saverSettings.Mode, 1);  // the dialog itself never draws a preset
    click(IDCANCEL);
    EXPECT_EQ(stored("Mode"), "missing");
}

TEST_F(ConfigDialogTest, BanksWriteAtOnceAndAnUnsavedBankRecallsAsZeros) {
    open();
    type(1039, "33");
    click(1070);  // save bank B
    click(IDCANCEL);
    EXPECT_EQ(stored("usersave01_01"), "33");
    EXPECT_EQ(stored("x_div"), "missing");
    DestroyWindow(dialog);
    open();
    click(1077);  // recall bank D, never saved
    EXPECT_EQ(text(1039), "0");
    EXPECT_EQ(text(1036), "0");
    EXPECT_TRUE(checked(1060));
    EXPECT_EQ(trackbar(), 0);
    EXPECT_EQ(text(1028), "Lowest");
    click(1073);  // recall bank B
    EXPECT_EQ(text(1039), "33");
}

TEST_F(ConfigDialogTest, EnterAfterAClickOnACheckBoxSavesTheFlippedValue) {
    open();
    ShowWindow(dialog, SW_SHOW);
    HWND movement = GetDlgItem(dialog, 1038);
    SetFocus(movement);
    click(1038);
    EXPECT_EQ(saverSettings.enableMovement, 0);
    PostMessageA(movement, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(movement, WM_KEYUP, VK_RETURN, 0);
    MSG message;
    for (int i = 0; i < 50 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i)
        if (!IsDialogMessageA(dialog, &message)) DispatchMessageA(&message);
    EXPECT_EQ(stored("enableMovement"), "0");
}

TEST_F(ConfigDialogTest, TrackbarMovesNameTheLevelAndOnlyOkStoresIt) {
    open();
    SendDlgItemMessageA(dialog, 1015, TBM_SETPOS, TRUE, 4);
    SendMessageA(dialog, WM_HSCROLL, TB_THUMBPOSITION, LPARAM(GetDlgItem(dialog, 1015)));
    EXPECT_EQ(text(1028), "Highest");
    EXPECT_EQ(saverSettings.Priority, 2);
    SendMessageA(dialog, WM_HSCROLL, TB_THUMBPOSITION, 0);  // not from the trackbar: ignored
    click(IDOK);
    EXPECT_EQ(stored("Priority"), "4");
}

TEST_F(ConfigDialogTest, MonitorsDropDownWritesAtOnceAndEachChoiceComesBack) {
    open();
    ASSERT_EQ(SendDlgItemMessageA(dialog, IDC_MONITOR_MODE, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(monitorItem(), 0);  // nothing stored: one scene across all monitors
    for (int32_t mode : {1, 2, 0}) {
        monitorKey(mode ? VK_DOWN : VK_HOME);
        EXPECT_EQ(monitorItem(), mode);
        EXPECT_EQ(saverSettings.monitorMode, mode);
        EXPECT_NE(stored("monitorMode"), std::to_string(mode));  // written at OK only
        click(IDOK);
        EXPECT_EQ(stored("monitorMode"), std::to_string(mode));
        // Shown again by a dialog that loads it.
        DestroyWindow(dialog);
        saverSettings.monitorMode = 5;
        open();
        EXPECT_EQ(monitorItem(), mode);
        EXPECT_EQ(saverSettings.monitorMode, mode);
    }
}

// Defaults shows one scene across all monitors; a bank recall leaves the mode as it is,
// since it is no part of a bank; a stored number that names no mode shows the default's
// item, and only a choice in the list replaces it.
TEST_F(ConfigDialogTest, MonitorsDropDownAfterDefaultsARecallAndAnUnknownStoredValue) {
    putDword("monitorMode", 2);
    open();
    EXPECT_EQ(monitorItem(), 2);
    click(1077);  // recall bank D, never saved
    EXPECT_EQ(saverSettings.monitorMode, 2);
    EXPECT_EQ(monitorItem(), 2);
    click(1065);  // a preset
    EXPECT_EQ(monitorItem(), 2);
    click(1024);
    EXPECT_EQ(saverSettings.monitorMode, 0);
    EXPECT_EQ(monitorItem(), 0);
    click(IDCANCEL);
    DestroyWindow(dialog);

    putDword("monitorMode", 7);
    open();
    EXPECT_EQ(monitorItem(), 0);
    EXPECT_EQ(saverSettings.monitorMode, 7);
    HWND list = GetDlgItem(dialog, IDC_MONITOR_MODE);
    for (WORD notification : {CBN_SETFOCUS, CBN_DROPDOWN, CBN_CLOSEUP, CBN_KILLFOCUS})
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MONITOR_MODE, notification), reinterpret_cast<LPARAM>(list));
    click(IDOK);
    EXPECT_EQ(stored("monitorMode"), "7");
    DestroyWindow(dialog);
    open();
    monitorKey(VK_END);
    EXPECT_EQ(saverSettings.monitorMode, 2);
}

// The drop-down and its label follow every older control, so that each keeps its place in
// the tab order; the drop-down fits in the dialog and covers no other control.
TEST_F(ConfigDialogTest, MonitorsDropDownIsLastAndOverlapsNothing) {
    open();
    HWND list = GetDlgItem(dialog, IDC_MONITOR_MODE);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetWindow(list, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetNextDlgTabItem(dialog, list, FALSE), GetDlgItem(dialog, IDOK));
    HWND label = GetWindow(list, GW_HWNDPREV);
    char text[32] = "";
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "Monitors");
    RECT client, listRect, labelRect;
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(list, &listRect);
    GetWindowRect(label, &labelRect);
    RECT inside;
    EXPECT_TRUE(IntersectRect(&inside, &listRect, &client) && EqualRect(&inside, &listRect));
    int others = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == list || child == label) continue;
        EXPECT_NE(GetDlgCtrlID(child), IDC_MONITOR_MODE);
        RECT rect, overlap;
        GetWindowRect(child, &rect);
        EXPECT_FALSE(IntersectRect(&overlap, &rect, &listRect)) << GetDlgCtrlID(child);
        EXPECT_FALSE(IntersectRect(&overlap, &rect, &labelRect)) << GetDlgCtrlID(child);
        ++others;
    }
    EXPECT_GT(others, 80);
}

TEST(AboutDialog, CentresOnTheDesktopAndLinksCarryTheSubject) {
    HWND about = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2004), nullptr, AboutDialog, 0);
    ASSERT_NE(about, nullptr);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    ASSERT_EQ(desktop.right, 1024);
    ASSERT_EQ(desktop.bottom, 768);
    MoveWindow(about, 0, 0, 325, 180, FALSE);
    AboutDialog(about, WM_INITDIALOG, 0, 0);
    RECT placed;
    GetWindowRect(about, &placed);
    EXPECT_EQ(placed.left, 349);
    EXPECT_EQ(placed.top, 294);
    EXPECT_EQ(placed.right - placed.left, 325);
    EXPECT_NE(std::string(aboutMailLink).find("?SUBJECT=Quakeglass"), std::string::npos);
    EXPECT_EQ(std::string(aboutMailLink).rfind("mailto:", 0), 0u);
    HDC context = GetDC(about);
    EXPECT_NE(AboutDialog(about, WM_CTLCOLORSTATIC, WPARAM(context), LPARAM(GetDlgItem(about, 1020))), 0);
    EXPECT_EQ(GetTextColor(context), RGB(0, 0, 255));
    ReleaseDC(about, context);
    DestroyWindow(about);
}
