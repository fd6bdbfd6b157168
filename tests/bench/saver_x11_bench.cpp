// Benchmark, not a test: the native saver on X11 in this process; see native_saver_bench.h.
//   saver_x11_bench SECONDS [OPTIONS...]   -> "first-frame <ms> fps <n> cores <n>"
#include "native_saver_bench.h"
#include "x11/saver_run.h"

int main(int argc, char** argv) { return benchNativeSaver(argc, argv, BenchClock::now(), runSaver); }
