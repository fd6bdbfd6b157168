#include "render/frame_pacing.h"

#include <cstring>

int frameWaitMs(const FramePacer& pacer, int64_t nowUs) {
    const int64_t dueUs = pacer.lastStartUs + pacer.delayUs;
    return nowUs >= dueUs ? 0 : int((dueUs - nowUs + 999) / 1000);
}

void startFrame(FramePacer& pacer, int64_t nowUs) { pacer.lastStartUs = nowUs; }

// Whether `name` is one of the space-separated words of `list`, not just a prefix of one
// (GLX_EXT_swap_control_tear is another extension).
static bool hasWord(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length)
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    return false;
}

SwapControl chooseSwapControl(const char* extensions) {
    if (!extensions) return SwapControl::Unavailable;
    if (hasWord(extensions, "GLX_EXT_swap_control")) return SwapControl::Ext;
    if (hasWord(extensions, "GLX_MESA_swap_control")) return SwapControl::Mesa;
    if (hasWord(extensions, "GLX_SGI_swap_control")) return SwapControl::Sgi;
    return SwapControl::Unavailable;
}
