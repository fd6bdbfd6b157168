// Writes the Windows capture of the whole screen at a texture size, the bytes of the
// desktop snapshot as the saver would upload them, for comparing with the native capture.
//   capture_dump.exe WIDTH HEIGHT OUT
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "capture/desktop_snapshot_win32.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: capture_dump WIDTH HEIGHT OUT\n");
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    const ScreenArea screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HDC source = GetDC(nullptr);
    const DesktopSnapshot snapshot = captureArea(source, screen, width, height);
    ReleaseDC(nullptr, source);
    if (!snapshot.pixels) return 1;
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out) return 1;
    std::fwrite(snapshot.pixels, 1, snapshotBytes(width, height), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
