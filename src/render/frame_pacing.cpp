#include "render/frame_pacing.h"

#include <cstring>

int64_t frameWaitUs(const FramePacer& pacer, int64_t nowUs) {
    const int64_t dueUs = pacer.lastStartUs + pacer.delayUs;
    return nowUs >= dueUs ? 0 : dueUs - nowUs;
}

int frameWaitMs(const FramePacer& pacer, int64_t nowUs) { return int((frameWaitUs(pacer, nowUs) + 999) / 1000); }

void startFrame(FramePacer& pacer, int64_t nowUs) { pacer.lastStartUs = nowUs; }

void startFrameOnBeat(FramePacer& pacer, int64_t nowUs) {
    const int64_t dueUs = pacer.lastStartUs + pacer.delayUs;
    pacer.lastStartUs = nowUs - dueUs < int64_t(pacer.delayUs) ? dueUs : nowUs;
}

uint32_t displayPeriodUs(uint32_t refreshHz) { return 1000000 / (refreshHz > 1 ? refreshHz : 60); }

bool swapsOutrunDisplay(SwapWatch& watch, int64_t nowUs, uint32_t periodUs) {
    if (watch.fromUs < 0) {
        watch.fromUs = nowUs;
        return false;
    }
    ++watch.frames;
    const int64_t spanUs = nowUs - watch.fromUs;
    if (spanUs < 250000) return false;
    const bool faster = int64_t(watch.frames) * periodUs * 10 > spanUs * 11;
    watch = {nowUs, 0};
    return faster;
}

bool hasExtension(const char* list, const char* name) {
    if (!list) return false;
    const size_t length = std::strlen(name);
    for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length)
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    return false;
}

SwapControl chooseSwapControl(const char* extensions) {
    if (hasExtension(extensions, "GLX_EXT_swap_control")) return SwapControl::Ext;
    if (hasExtension(extensions, "GLX_MESA_swap_control")) return SwapControl::Mesa;
    if (hasExtension(extensions, "GLX_SGI_swap_control")) return SwapControl::Sgi;
    return SwapControl::Unavailable;
}
