// How often a host draws: a least time from the start of one frame to the start of the
// next (-delay), waited for in whole milliseconds, and which GLX swap-interval extension
// keeps frames from outrunning the display. Portable; the host's frame loop uses it.
#pragma once
#include <cstdint>

struct FramePacer {
    uint32_t delayUs = 0;
    int64_t lastStartUs = INT64_MIN / 2;  // no frame yet: the first is due at once
};

// Milliseconds to wait before the next frame may start, rounded up (a wait that ends
// early would only spin); 0 when it is due.
int frameWaitMs(const FramePacer& pacer, int64_t nowUs);

// A frame starts now: the next one is due `delayUs` from here, however late this one is,
// so that a slow frame is never made up by a burst.
void startFrame(FramePacer& pacer, int64_t nowUs);

enum class SwapControl { Unavailable, Ext, Mesa, Sgi };

// The swap-interval extension to set interval 1 with, from a GLX extension string (names
// separated by spaces; may be null): GLX_EXT_swap_control (per drawable), else
// GLX_MESA_swap_control, else GLX_SGI_swap_control.
SwapControl chooseSwapControl(const char* extensions);
