// The program's millisecond clock and the two instants the animation measures from.
// Set at static initialisation; afterwards read and written by the render thread only.
#pragma once
#include <cstdint>

// One raw reading of the platform clock: the performance counter with its frequency,
// or, where there is none, the multimedia timer's milliseconds.
struct ClockReading {
    bool hasCounter;
    int64_t counter;
    int64_t frequency;
    uint32_t tickMs;
};
ClockReading readFrameClock();  // the platform's edge

// Milliseconds from `start` to `now`. Counting from process start instead of boot keeps
// the single-precision instants exact for hours whatever the machine's uptime.
long double elapsedMs(const ClockReading& start, const ClockReading& now);

namespace FrameTimer {
long double nowMs();
extern float startInstantMs;
extern float lastFrameMs;
}

// The animation's clock stops while nothing is drawn (the display off, the window hidden):
// on resuming, both instants move on by the time stopped, so that the motion picks up where
// it stopped instead of jumping by the time slept. Pausing twice keeps the first instant.
void pauseFrameClock();
void resumeFrameClock();

// Seconds from an earlier single-precision instant to a reading, rounded to single precision.
inline float secondsSince(float instantMs, long double readingMs) {
    return float((readingMs - instantMs) * 0.001L);
}
