// Prints what Windows knows of the running full-screen saver window, for the
// end-to-end scenarios: "found x y width height topmost" or "none".
#include <windows.h>

#include <cstdio>

int main() {
    HWND window = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    if (!window) {
        std::printf("none\n");
        return 1;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    bool topmost = GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
    std::printf("found %ld %ld %ld %ld %s\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, topmost ? "topmost" : "normal");
    return 0;
}
