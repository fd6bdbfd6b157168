// The Change Resolution dialog made from its real template and driven with messages,
// over a pretend driver that lists a 4-bit mode and one mode at three refresh rates.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "settings/display_mode_switcher_win32.h"
#include "settings/resolution_dialog_win32.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace {

const char keyPath[] = "Software\\Veltrask\\ss\\qg\\16";

struct ListedMode {
    DWORD width, height, bits, hertz;
};
const ListedMode listedModes[] = {{640, 480, 4, 60},   {1024, 768, 16, 60}, {1024, 768, 16, 72},
                                  {1024, 768, 16, 85}, {800, 600, 32, 60},  {1024, 768, 32, 60}};
const int currentEntry = 0, customEntry = 1, thirdOf1024x768x16 = 4, entryOf800x600x32 = 5;

BOOL WINAPI playDriver(LPCSTR device, DWORD index, DEVMODEA* mode) {
    if (device || index >= sizeof listedModes / sizeof listedModes[0]) return FALSE;
    const ListedMode& listed = listedModes[index];
    mode->dmPelsWidth = listed.width, mode->dmPelsHeight = listed.height;
    mode->dmBitsPerPel = listed.bits, mode->dmDisplayFrequency = listed.hertz;
    return TRUE;
}

HWND list(HWND dialog) { return GetDlgItem(dialog, IDC_RES_LIST); }
int selection(HWND dialog) { return int(SendMessageA(list(dialog), CB_GETCURSEL, 0, 0)); }
std::string textOf(HWND window) {
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<std::string> entries(HWND dialog) {
    std::vector<std::string> texts;
    const int count = int(SendMessageA(list(dialog), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = "";
        SendMessageA(list(dialog), CB_GETLBTEXT, i, LPARAM(text));
        texts.push_back(text);
    }
    return texts;
}

// Replaces a control's text keystroke by keystroke, as a user types it.
void type(HWND control, const char* text) {
    SendMessageA(control, EM_SETSEL, 0, -1);
    SendMessageA(control, WM_CHAR, VK_BACK, 0);
    for (const char* c = text; *c; ++c) SendMessageA(control, WM_CHAR, WPARAM(*c), 0);
}

void pick(HWND dialog, int entry) { SendMessageA(list(dialog), CB_SETCURSEL, entry, 0); }
void press(HWND dialog, int button) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

HWND openModeless() {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CHANGE_RESOLUTION), nullptr,
                              ChangeResolutionDialog, 0);
}

// The modal run as the configuration dialog makes it; `drive` acts once it is up.
void (*drive)(HWND dialog);
void CALLBACK driveOnce(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    drive(FindWindowA(nullptr, "Change Resolution"));
}
INT_PTR runModal(void (*driver)(HWND)) {
    drive = driver;
    SetTimer(nullptr, 0, 1, driveOnce);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CHANGE_RESOLUTION), nullptr,
                           ChangeResolutionDialog, 0);
}

// The three stored values, or "missing" for each one that is not in the registry.
std::string storedMode() {
    std::string stored;
    for (const char* name : {"resW", "resH", "resC"}) {
        DWORD value, size = sizeof value;
        LONG found = RegGetValueA(HKEY_CURRENT_USER, keyPath, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
        stored += (stored.empty() ? "" : " ") + (found == ERROR_SUCCESS ? std::to_string(LONG(value)) : "missing");
    }
    return stored;
}

std::string fieldsInMemory() {
    return std::to_string(saverSettings.resW) + " " + std::to_string(saverSettings.resH) + " " +
           std::to_string(saverSettings.resC);
}

struct ResolutionDialogTest : testing::Test {
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, keyPath);
        SettingsStore::applyDefaults();
        enumDisplaySettings = playDriver;
    }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, keyPath); }
    static void configure(int32_t width, int32_t height, int32_t bits) {
        saverSettings.resW = width, saverSettings.resH = height, saverSettings.resC = bits;
    }
};

}  // namespace

TEST_F(ResolutionDialogTest, TemplateHasItsControlsInOrderAtTheirPlaces) {
    const LONG bordered = -1;  // an edit: the dialog manager may turn its border into a client edge
    struct Control {
        int id;
        const char* className;
        const char* text;
        LONG typeMask, type;
        RECT units;  // x, y, width, height in dialog units
    };
    const Control controls[] = {
        {IDOK, "Button", "OK", BS_TYPEMASK, BS_DEFPUSHBUTTON, {95, 92, 50, 14}},
        {IDCANCEL, "Button", "Cancel", BS_TYPEMASK, BS_PUSHBUTTON, {17, 92, 50, 14}},
        {0xFFFF, "Static", "3dfx users please see the readme!", SS_TYPEMASK, SS_LEFT, {45, 36, 111, 11}},
        {IDC_RES_WIDTH, "Edit", "", bordered, ES_AUTOHSCROLL, {9, 61, 43, 12}},
        {0xFFFF, "Static", "Custom Resolution", SS_TYPEMASK, SS_LEFT, {10, 50, 62, 10}},
        {0xFFFF, "Static", "Width", SS_TYPEMASK, SS_LEFT, {9, 74, 23, 10}},
        {IDC_RES_HEIGHT, "Edit", "", bordered, ES_AUTOHSCROLL, {59, 61, 43, 12}},
        {0xFFFF, "Static", "Height", SS_TYPEMASK, SS_LEFT, {59, 74, 28, 10}},
        {IDC_RES_DEPTH, "Edit", "", bordered, ES_AUTOHSCROLL, {109, 61, 43, 12}},
        {0xFFFF, "Static", "Color Depth", SS_TYPEMASK, SS_LEFT, {109, 74, 43, 10}},
        {IDC_RES_LIST, "ComboBox", "", CBS_DROPDOWNLIST | CBS_SORT, CBS_DROPDOWN, {7, 18, 147, 67}},
        {0xFFFF, "Static", "Select Resolution to switch to:", SS_TYPEMASK, SS_LEFT, {9, 7, 95, 9}},
    };
    configure(0, 0, 0);
    HWND dialog = openModeless();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(textOf(dialog), "Change Resolution");
    const LONG frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & frame, frame);
    RECT client, size = {0, 0, 162, 117};
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    LOGFONTA font = {};
    GetObjectA(HFONT(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const Control& c : controls) {
        ASSERT_TRUE(child) << c.text;
        char className[32] = "";
        GetClassNameA(child, className, sizeof className);
        EXPECT_STREQ(className, c.className) << c.text;
        EXPECT_EQ(GetDlgCtrlID(child), c.id) << c.text;
        if (*c.text) {
            EXPECT_EQ(textOf(child), c.text);
        }
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (c.typeMask == bordered) {
            EXPECT_TRUE((style & WS_BORDER) || (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) << c.id;
            EXPECT_EQ(style & c.type, c.type) << c.id;
        } else {
            EXPECT_EQ(style & c.typeMask, c.type) << c.text;
        }
        // Position and size are converted separately, as the dialog manager does.
        RECT want = c.units, got;
        MapDialogRect(dialog, &want);
        GetWindowRect(child, &got);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(std::vector<LONG>({got.left, got.top, got.right - got.left}),
                  std::vector<LONG>({want.left, want.top, want.right}))
            << c.text;
        // A drop-down combo box's window is its edit field; the template's height is the dropped list's.
        if (c.id != IDC_RES_LIST) {
            EXPECT_EQ(got.bottom - got.top, want.bottom) << c.text;
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_FALSE(child);
    COMBOBOXINFO combo = {};
    combo.cbSize = sizeof combo;
    GetComboBoxInfo(list(dialog), &combo);
    EXPECT_TRUE(GetWindowLongA(combo.hwndList, GWL_STYLE) & WS_VSCROLL);
    DestroyWindow(dialog);
}

TEST_F(ResolutionDialogTest, ListsEveryRefreshRateOfModesAboveFourBits) {
    configure(1000, 700, 16);
    HWND dialog = openModeless();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(entries(dialog), std::vector<std::string>({"Current Resolution", "Custom (Enter below)", "1024x768x16",
                                                         "1024x768x16", "1024x768x16", "800x600x32", "1024x768x32"}));
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_RES_WIDTH)), "1000");
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_RES_HEIGHT)), "700");
    EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_RES_DEPTH)), "16");
    DestroyWindow(dialog);
}

TEST_F(ResolutionDialogTest, OpensOnTheConfiguredMode) {
    struct Case {
        int32_t width, height, bits;
        int selected;
    };
    const Case cases[] = {
        {1024, 768, 16, thirdOf1024x768x16},  // the last of the three equal entries
        {800, 600, 32, entryOf800x600x32},
        {1000, 700, 16, customEntry},  // not listed
        {640, 480, 4, customEntry},    // listed by the driver, left out of the list
        {1024, 768, 0, currentEntry},
        {0, 0, 0, currentEntry},
    };
    for (const Case& c : cases) {
        configure(c.width, c.height, c.bits);
        HWND dialog = openModeless();
        ASSERT_TRUE(dialog);
        EXPECT_EQ(selection(dialog), c.selected) << c.width << "x" << c.height << "x" << c.bits;
        DestroyWindow(dialog);
    }
}

TEST_F(ResolutionDialogTest, OkKeepsTheChosenModeAndSavesIt) {
    struct Case {
        const char* what;
        int32_t width, height, bits;
        void (*drive)(HWND);
        const char* saved;
    };
    const Case cases[] = {
        {"listed entry as opened", 1024, 768, 16, [](HWND d) { press(d, IDOK); }, "1024 768 16"},
        {"custom as opened", 1000, 700, 16, [](HWND d) { press(d, IDOK); }, "1000 700 16"},
        {"current resolution", 800, 600, 32, [](HWND d) { pick(d, currentEntry), press(d, IDOK); }, "0 0 0"},
        {"a listed entry over the edits", 1000, 700, 16,
         [](HWND d) { pick(d, entryOf800x600x32), press(d, IDOK); }, "800 600 32"},
        {"custom with typed values", 800, 600, 32,
         [](HWND d) {
             pick(d, customEntry);
             type(GetDlgItem(d, IDC_RES_WIDTH), "1280");
             type(GetDlgItem(d, IDC_RES_DEPTH), "24bit");
             press(d, IDOK);
         },
         "1280 600 24"},
        {"text typed into the list's own field", 1024, 768, 16,
         [](HWND d) {
             COMBOBOXINFO combo = {};
             combo.cbSize = sizeof combo;
             GetComboBoxInfo(list(d), &combo);
             type(combo.hwndItem, "1280x1024x32");
             type(GetDlgItem(d, IDC_RES_HEIGHT), "1024");
             EXPECT_EQ(selection(d), CB_ERR);
             press(d, IDOK);
         },
         "1024 1024 16"},
    };
    for (const Case& c : cases) {
        RegDeleteKeyA(HKEY_CURRENT_USER, keyPath);
        configure(c.width, c.height, c.bits);
        EXPECT_EQ(runModal(c.drive), 1) << c.what;
        EXPECT_EQ(storedMode(), c.saved) << c.what;
        EXPECT_EQ(fieldsInMemory(), c.saved) << c.what;
    }
}

TEST_F(ResolutionDialogTest, TypingChangesTheFieldAtOnceAndCancelKeepsItUnsaved) {
    configure(1024, 768, 16);
    const INT_PTR result = runModal([](HWND d) {
        HWND width = GetDlgItem(d, IDC_RES_WIDTH);
        SendMessageA(width, EM_SETSEL, 0, -1);
        SendMessageA(width, WM_CHAR, '8', 0);
        EXPECT_EQ(saverSettings.resW, 8);
        type(width, "800");
        type(GetDlgItem(d, IDC_RES_DEPTH), "x");
        EXPECT_EQ(fieldsInMemory(), "800 768 0");
        press(d, IDCANCEL);
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(fieldsInMemory(), "800 768 0");
    EXPECT_EQ(storedMode(), "missing missing missing");
}
