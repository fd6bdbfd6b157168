// What every native run does around its host's own work, written once: the end watch and
// the priority before anything that can take long, the watch's stop at the end. Main thread.
#pragma once
#include <functional>

// Runs `run` with the end watch started and the priority applied, and returns its status;
// 1, with one line on stderr, when the end signals cannot be watched.
int runWithEndWatch(const std::function<int()>& run);
