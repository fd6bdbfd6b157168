// The native stand-in for the Windows clock: the monotonic clock as a nanosecond counter.
#include <time.h>

#include "render/frame_timer.h"

ClockReading readFrameClock() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return {true, int64_t(now.tv_sec) * 1000000000 + now.tv_nsec, 1000000000, 0};
}
