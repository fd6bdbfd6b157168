// The native saver's entry: the command line, then one run on the desktop it chooses,
// Wayland or X11.
#include <cstdio>
#include <cstdlib>

#include "wayland/wayland_run.h"
#include "x11/saver_run.h"
#include "xscreensaver/saver_options.h"

int main(int argc, char** argv) {
    SaverOptions options;
    std::string error;
    if (!readSaverOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), options, error)) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(saverHelp().c_str(), stdout);
        return 0;
    }
    return drawsOnWayland(options, std::getenv("WAYLAND_DISPLAY")) ? runWaylandSaver(options) : runSaver(options);
}
