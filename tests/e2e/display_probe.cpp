// Helper of the end-to-end scenarios, run beside the saver:
//   display_probe mode             prints the display mode Windows reports, WIDTHxHEIGHTxBITS
//   display_probe monitors         prints "N primary WxH virtual L,T WxH": the monitors Windows
//                                  counts, the primary's size and the whole virtual screen
//   display_probe box TITLE SECS   waits for a message box so titled, prints its text (line
//                                  feeds as \n) and presses its OK button; "none" if none came
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static int printMode() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    std::printf("%lux%lux%lu\n", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
    return 0;
}

static int printMonitors() {
    std::printf("%d primary %dx%d virtual %d,%d %dx%d\n", GetSystemMetrics(SM_CMONITORS),
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_XVIRTUALSCREEN),
                GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                GetSystemMetrics(SM_CYVIRTUALSCREEN));
    return 0;
}

static void printEscaped(const wchar_t* text) {
    for (; *text; ++text) {
        if (*text == L'\n') std::printf("\\n");
        else if (*text == L'\r') std::printf("\\r");
        else std::printf("%lc", wint_t(*text));
    }
    std::printf("\n");
}

static int answerBox(const char* title, int seconds) {
    HWND box = nullptr;
    for (DWORD end = GetTickCount() + DWORD(seconds) * 1000; !box && GetTickCount() < end; Sleep(50))
        box = FindWindowA("#32770", title);
    if (!box) {
        std::printf("none\n");
        return 1;
    }
    Sleep(200);  // let it finish drawing, as a user would see it
    // WINE: the wide message, since the ANSI one across processes returns one character.
    wchar_t text[512] = L"";
    SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 512, LPARAM(text));
    printEscaped(text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "mode") == 0) return printMode();
    if (argc == 2 && std::strcmp(argv[1], "monitors") == 0) return printMonitors();
    if (argc == 4 && std::strcmp(argv[1], "box") == 0) return answerBox(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: display_probe mode | monitors | box TITLE SECONDS\n");
    return 2;
}
