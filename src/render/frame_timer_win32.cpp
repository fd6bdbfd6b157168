// The Windows clock: the performance counter, asked for its frequency at every
// reading, or timeGetTime where there is no counter.
#include "render/frame_timer.h"

#include <windows.h>

ClockReading readFrameClock() {
    LARGE_INTEGER frequency, counter;
    if (QueryPerformanceFrequency(&frequency) && QueryPerformanceCounter(&counter))
        return {true, counter.QuadPart, frequency.QuadPart, 0};
    return {false, 0, 0, timeGetTime()};
}
