// The native saver's entry: the command line, then one run on the desktop it chooses,
// Wayland or X11.
#include <cstdio>
#include <cstdlib>

#include "native_entry/native_saver.h"
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
    return runNativeSaver(options, std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
}
