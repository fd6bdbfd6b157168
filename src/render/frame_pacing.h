// How often a host draws: a least time from the start of one frame to the start of the
// next (-delay, or the display's period), and which swap-interval extension keeps frames
// from outrunning the display. Portable; the hosts' frame loops use it.
#pragma once
#include <cstdint>

struct FramePacer {
    uint32_t delayUs = 0;
    int64_t lastStartUs = INT64_MIN / 2;  // no frame yet: the first is due at once
};

// Milliseconds to wait before the next frame may start, rounded up (a wait that ends
// early would only spin); 0 when it is due.
int frameWaitMs(const FramePacer& pacer, int64_t nowUs);

// Microseconds to wait before the next frame may start; 0 when it is due.
int64_t frameWaitUs(const FramePacer& pacer, int64_t nowUs);

// A frame starts now: the next one is due `delayUs` from here, however late this one is,
// so that a slow frame is never made up by a burst.
void startFrame(FramePacer& pacer, int64_t nowUs);

// A frame starts now on the display's beat: the next is due one period after this one was
// due, so that waits cut to a timer's steps keep the rate. A frame late by a whole period
// or more starts the beat afresh: no burst makes it up.
void startFrameOnBeat(FramePacer& pacer, int64_t nowUs);

// The display's period from the refresh rate the system reports; 0 and 1 mean the
// hardware's default, taken as 60 Hz.
uint32_t displayPeriodUs(uint32_t refreshHz);

// Frames counted over a quarter of a second at a time, to see whether swaps at interval 1
// wait for the display.
struct SwapWatch {
    int64_t fromUs = -1;
    uint32_t frames = 0;
};

// Counts a frame that starts now; true when a stretch of frames came more than a tenth
// faster than the display shows them (the driver's swap does not wait).
bool swapsOutrunDisplay(SwapWatch& watch, int64_t nowUs, uint32_t periodUs);

// Whether `name` is one of the space-separated words of `list` (may be null), not just a
// prefix of one (GLX_EXT_swap_control_tear is another extension).
bool hasExtension(const char* list, const char* name);

enum class SwapControl { Unavailable, Ext, Mesa, Sgi };

// The swap-interval extension to set interval 1 with, from a GLX extension string (names
// separated by spaces; may be null): GLX_EXT_swap_control (per drawable), else
// GLX_MESA_swap_control, else GLX_SGI_swap_control.
SwapControl chooseSwapControl(const char* extensions);
