// The Windows clock: the performance counter, asked for its frequency at every
// reading, or timeGetTime where there is no counter; the process's CPU time.
#include "render/frame_timer.h"

#include <windows.h>

ClockReading readFrameClock() {
    LARGE_INTEGER frequency, counter;
    if (QueryPerformanceFrequency(&frequency) && QueryPerformanceCounter(&counter))
        return {true, counter.QuadPart, frequency.QuadPart, 0};
    return {false, 0, 0, timeGetTime()};
}

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto seconds = [](const FILETIME& t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7; };
    return seconds(kernel) + seconds(user);
}
