#include "render/frame_timer.h"

long double elapsedMs(const ClockReading& start, const ClockReading& now) {
    if (now.hasCounter && start.hasCounter && now.frequency > 0)
        return (long double)(now.counter - start.counter) / (long double)now.frequency * 1000.0L;
    return (long double)(uint32_t(now.tickMs - start.tickMs));
}

namespace FrameTimer {

long double nowMs() {
    static const ClockReading processStart = readFrameClock();
    return elapsedMs(processStart, readFrameClock());
}

// Both instants are taken during static initialisation, in this order.
float startInstantMs = float(nowMs());
float lastFrameMs = float(nowMs());

}  // namespace FrameTimer

static long double pausedAtMs = -1;  // none: the clock runs

void pauseFrameClock() {
    if (pausedAtMs < 0) pausedAtMs = FrameTimer::nowMs();
}

void resumeFrameClock() {
    if (pausedAtMs < 0) return;
    const long double stoppedMs = FrameTimer::nowMs() - pausedAtMs;
    FrameTimer::startInstantMs = float(FrameTimer::startInstantMs + stoppedMs);
    FrameTimer::lastFrameMs = float(FrameTimer::lastFrameMs + stoppedMs);
    pausedAtMs = -1;
}
