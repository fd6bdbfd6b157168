// Drives the saver's dialogs from outside, as a user's clicks would, for the
// end-to-end scenarios.
//   dialog_driver window SECONDS      owns a top-level window; prints its handle
//   dialog_driver find TITLE          prints "found <window> owner <owner window>"
//   dialog_driver click TITLE ID...   clicks those controls of the dialog, in order
//   dialog_driver widths TITLE ID     prints the dialog's width and that control's, in pixels
//   dialog_driver choose TITLE ID N   picks item N of that drop-down list, as a click in its list would
//   dialog_driver message TITLE       prints the text of the message box of that title and
//                                     answers it with OK
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static HWND waitForWindow(const char* title) {
    for (int i = 0; i < 200; ++i) {
        HWND window = FindWindowA(nullptr, title);
        if (window && IsWindowVisible(window)) return window;
        Sleep(50);
    }
    return nullptr;
}

static int ownWindow(double seconds) {
    HWND window = CreateWindowA("STATIC", "Owner window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
    std::fflush(stdout);
    DWORD end = GetTickCount() + DWORD(seconds * 1000);
    MSG message;
    while (LONG(end - GetTickCount()) > 0) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
    return 0;
}

// A message box's text is its static control of id 0xFFFF; other windows of the same
// title (a wizard behind it) have none.
struct MessageBoxSearch {
    const char* title;
    HWND found;
};

static BOOL CALLBACK findMessageBox(HWND window, LPARAM parameter) {
    MessageBoxSearch& search = *reinterpret_cast<MessageBoxSearch*>(parameter);
    char title[256];
    if (!IsWindowVisible(window) || !GetWindowTextA(window, title, sizeof title) ||
        std::strcmp(title, search.title) != 0 || !GetDlgItem(window, 0xFFFF))
        return TRUE;
    search.found = window;
    return FALSE;
}

static int printMessage(const char* title) {
    MessageBoxSearch search = {title, nullptr};
    for (int i = 0; i < 200 && !search.found; ++i) {
        EnumWindows(findMessageBox, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    if (!search.found) {
        std::printf("none\n");
        return 1;
    }
    char text[1024];
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    std::printf("%s\n", text);
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "window") == 0) return ownWindow(std::atof(argv[2]));
    if (argc < 3) return 2;
    if (std::strcmp(argv[1], "message") == 0) return printMessage(argv[2]);
    HWND dialog = waitForWindow(argv[2]);
    if (!dialog) {
        std::printf("none\n");
        return 1;
    }
    if (std::strcmp(argv[1], "find") == 0) {
        std::printf("found %lu owner %lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(dialog)),
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetWindow(dialog, GW_OWNER))));
        return 0;
    }
    if (std::strcmp(argv[1], "widths") == 0 && argc == 4) {
        RECT whole, control;
        GetWindowRect(dialog, &whole);
        GetWindowRect(GetDlgItem(dialog, std::atoi(argv[3])), &control);
        std::printf("%ld %ld\n", whole.right - whole.left, control.right - control.left);
        return 0;
    }
    if (std::strcmp(argv[1], "choose") == 0 && argc == 5) {
        HWND list = GetDlgItem(dialog, std::atoi(argv[3]));
        if (SendMessageA(list, CB_SETCURSEL, std::atoi(argv[4]), 0) == CB_ERR) return 1;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(std::atoi(argv[3]), CBN_SELCHANGE), LPARAM(list));
        std::printf("chosen\n");
        return 0;
    }
    for (int i = 3; i < argc; ++i) {
        PostMessageA(GetDlgItem(dialog, std::atoi(argv[i])), BM_CLICK, 0, 0);
        Sleep(300);
    }
    std::printf("clicked\n");
    return 0;
}
