// The native saver's entry: the command line, then one run on the X display.
#include <cstdio>
#include <cstdlib>

#include "xscreensaver/saver_options.h"
#include "x11/saver_run.h"

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
    return runSaver(options);
}
