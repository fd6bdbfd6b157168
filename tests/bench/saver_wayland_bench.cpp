// Benchmark, not a test: the native saver on Wayland (one output) in this process; see
// native_saver_bench.h.
//   saver_wayland_bench SECONDS [OPTIONS...]   -> "first-frame <ms> fps <n> cores <n>"
#include "native_saver_bench.h"
#include "wayland/wayland_run.h"

int main(int argc, char** argv) { return benchNativeSaver(argc, argv, BenchClock::now(), runWaylandSaver); }
