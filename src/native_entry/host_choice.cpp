#include "native_entry/host_choice.h"

bool triesWayland(const SaverOptions& options, const char* waylandDisplay) {
    if (options.host != NativeHost::Either) return options.host == NativeHost::Wayland;
    return waylandDisplay && *waylandDisplay && options.target == DrawTarget::OwnWindow;
}

const char* fallbackDisplay(const SaverOptions& options, const char* xDisplay) {
    if (options.host != NativeHost::Either) return nullptr;
    if (!options.display.empty()) return options.display.c_str();
    return xDisplay && *xDisplay ? xDisplay : nullptr;
}
