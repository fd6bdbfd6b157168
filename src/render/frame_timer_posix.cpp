// The native stand-in for the Windows clock: the monotonic clock as a nanosecond counter,
// and the process's CPU clock.
#include <time.h>

#include "render/frame_timer.h"

ClockReading readFrameClock() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return {true, int64_t(now.tv_sec) * 1000000000 + now.tv_nsec, 1000000000, 0};
}

double processCpuSeconds() {
    timespec used;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return double(used.tv_sec) + double(used.tv_nsec) * 1e-9;
}
