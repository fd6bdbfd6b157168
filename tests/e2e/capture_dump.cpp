// Writes the Windows capture of the whole screen at a texture size, the bytes of the
// desktop snapshot as the saver would upload them, for comparing with the native capture.
// With "saver", the picture the saver itself takes: the copy of the screen, or the user's
// desktop background in its place; exit status 3 when the logo stands in.
//   capture_dump.exe WIDTH HEIGHT OUT [saver]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "capture/desktop_snapshot_win32.h"
#include "settings/saver_settings.h"

int main(int argc, char** argv) {
    if (argc != 4 && !(argc == 5 && std::strcmp(argv[4], "saver") == 0)) {
        std::fprintf(stderr, "usage: capture_dump WIDTH HEIGHT OUT [saver]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    const ScreenArea screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    DesktopSnapshot snapshot;
    if (argc == 5) {
        saverSettings.screenTextureWidth = width, saverSettings.screenTextureHeight = height;
        if (!captureDesktop(false, screen)) return 3;
        snapshot = desktopSnapshot;
    } else {
        HDC source = GetDC(nullptr);
        snapshot = captureArea(source, screen, width, height);
        ReleaseDC(nullptr, source);
    }
    if (!snapshot.pixels) return 1;
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out) return 1;
    std::fwrite(snapshot.pixels, 1, snapshotBytes(width, height), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
