// Drives the saver's dialogs from outside, as a user's clicks would, for the
// end-to-end scenarios.
//   dialog_driver window SECONDS      owns a top-level window; prints its handle
//   dialog_driver find TITLE          prints "found <window> owner <owner window>"
//   dialog_driver click TITLE ID...   clicks those controls of the dialog, in order
//   dialog_driver widths TITLE ID     prints the dialog's width and that control's, in pixels
//   dialog_driver choose TITLE ID N   picks item N of that drop-down list, as a click in its list would
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

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "window") == 0) return ownWindow(std::atof(argv[2]));
    if (argc < 3) return 2;
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
