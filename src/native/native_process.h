// What both native hosts (X11, Wayland) share about their process beside the end watch:
// the priority setting as a nice level, the seed of the render clock, and the CPU time used
// (for -fps and the benchmarks). Main thread.
#pragma once
#include <cstdint>

// Priority 0..5 as a change of the nice level the process was started with (a daemon
// may have niced it already): lower for 0 and 1, higher for 3..5 where permitted.
void applyPriority(int priority);

// The render thread's random seed: the monotonic clock in milliseconds.
uint32_t clockSeed();

// CPU time the whole process (all its threads, the driver's too) has used, in seconds.
double processCpuSeconds();
