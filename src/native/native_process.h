// What both native hosts (X11, Wayland) share about their process: the end signals, which
// a host's wait must wake for, the priority setting as a nice level, and the seed of the
// render clock. Main thread, except where said.
#pragma once
#include <cstdint>

// SIGTERM, SIGINT and SIGHUP ask the run to end. A forked process calls it again, for an
// endRequestFd of its own.
void catchEndSignals();

// Whether the run has been asked to end; any thread.
bool endRequested();

// Asks the run to end; async-signal-safe, any thread.
void requestSaverEnd();

// A descriptor that turns readable once the end is asked: a host that waits polls it, so
// that a signal between its last look at endRequested and its wait still wakes it.
int endRequestFd();

// Priority 0..5 as a change of the nice level the process was started with (a daemon
// may have niced it already): lower for 0 and 1, higher for 3..5 where permitted.
void applyPriority(int priority);

// The render thread's random seed: the monotonic clock in milliseconds.
uint32_t clockSeed();
