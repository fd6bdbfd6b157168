#include "native/native_process.h"

#include <sys/resource.h>
#include <time.h>

#include <cerrno>

void applyPriority(int priority) {
    static const int niceChange[] = {10, 5, 0, -5, -10, -20};
    if (priority < 0 || priority > 5 || niceChange[priority] == 0) return;
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, 0);
    if (errno) return;
    int wanted = current + niceChange[priority];
    wanted = wanted < -20 ? -20 : wanted > 19 ? 19 : wanted;
    setpriority(PRIO_PROCESS, 0, wanted);  // raising needs privilege: without it, stay
}

uint32_t clockSeed() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

double processCpuSeconds() {
    timespec used;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return double(used.tv_sec) + double(used.tv_nsec) * 1e-9;
}
