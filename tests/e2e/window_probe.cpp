// Prints what Windows knows of the running full-screen saver window, for the
// end-to-end scenarios: "found x y width height topmost" or "none". With
// "post MESSAGE WPARAM" it posts that message to the window instead, as the system would.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    HWND window = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    if (!window) {
        std::printf("none\n");
        return 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "post") == 0)
        return PostMessageA(window, UINT(std::atoi(argv[2])), WPARAM(std::atoi(argv[3])), 0) ? 0 : 1;
    RECT rect;
    GetWindowRect(window, &rect);
    bool topmost = GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
    std::printf("found %ld %ld %ld %ld %s\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, topmost ? "topmost" : "normal");
    return 0;
}
