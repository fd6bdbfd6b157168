// Writes the native capture of the X screen at a texture size, the bytes of the desktop
// snapshot as the saver would upload them, for comparing with the Windows capture.
//   snapshot_dump WIDTH HEIGHT OUT
#include <cstdio>
#include <cstdlib>

#include "capture/desktop_snapshot.h"
#include "settings/saver_settings.h"
#include "x11/screen_snapshot.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: snapshot_dump WIDTH HEIGHT OUT\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    saverSettings.screenTextureWidth = std::atoi(argv[1]);
    saverSettings.screenTextureHeight = std::atoi(argv[2]);
    if (!captureScreen(display, false, None)) return 1;
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out) return 1;
    std::fwrite(desktopSnapshot.pixels, 1, snapshotBytes(desktopSnapshot.width, desktopSnapshot.height), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
