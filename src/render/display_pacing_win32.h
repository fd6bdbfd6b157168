// Keeps the render thread's frames to the display's rate: a swap interval of 1 where WGL
// offers one, else (or when the swaps still come faster) a wait on the display's beat.
// Render thread only, with its context current.
#pragma once
#include <windows.h>

#include "render/frame_pacing.h"

struct DisplayPacing {
    FramePacer pacer;
    SwapWatch watch;
    bool swapWaits = false;    // interval 1 is set: the loop paces itself only if swaps do not wait
    HANDLE timer = nullptr;    // a high-resolution waitable timer (Windows 10 1803 on)
    bool coarseTimer = false;  // else Sleep, at a 1 ms timer resolution for the run
};

// Asks for interval 1 and the primary display's rate; the pacing for the run.
void startDisplayPacing(DisplayPacing& pacing, HDC deviceContext);
// Waits, when the loop paces itself, until the next frame is due, and starts it.
void paceFrame(DisplayPacing& pacing);
// The next frame is due at once: after a time without frames.
void restartDisplayPacing(DisplayPacing& pacing);
// Gives back the timer and the timer resolution.
void endDisplayPacing(DisplayPacing& pacing);
