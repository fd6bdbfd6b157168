#include "native_entry/native_saver.h"

#include <cstdio>

#include "native/frame_loop.h"
#include "native/picture_choice.h"
#include "native_entry/host_choice.h"
#include "wayland/wayland_run.h"
#include "x11/saver_run.h"

int runNativeSaver(const SaverOptions& options, const char* waylandDisplay, const char* xDisplay) {
    const FrameLoopOptions loop = {options.delayUs, options.showFps};
    if (!triesWayland(options, waylandDisplay)) return runSaver(options, loop);
    const char* fallback = fallbackDisplay(options, xDisplay);
    std::string unreachable;
    // The daemon's grab setting is its own on X11: on Wayland grim decides.
    const int status = runWaylandSaver(loop, nativePictureSources(options, false), fallback ? &unreachable : nullptr);
    if (unreachable.empty()) return status;
    std::fprintf(stderr, "quakeglass: %s; drawing on X display '%s' instead\n", unreachable.c_str(), fallback);
    return runSaver(options, loop);
}
