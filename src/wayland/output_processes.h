// One process per output, as the X11 screen-saver daemon runs one saver per screen: the
// portable core draws one scene per process, and each output shows a part of the desktop
// of its own. Main thread.
#pragma once
#include <cstddef>
#include <functional>

// Runs `run(i)` in a process of its own for each of `count` outputs and waits. The first
// to end ends the others (a key on one output ends the saver on all), and so does an end
// signal to this process; a process whose parent dies ends too. Returns the status of the
// first to end, or 0 when a signal ended them. Stops this process's end watch: each
// output's process starts one of its own.
int runProcessPerOutput(size_t count, const std::function<int(size_t)>& run);
