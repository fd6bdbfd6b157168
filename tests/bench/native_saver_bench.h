// What the native savers' benchmarks share: runs a host's saver with the given options in
// this process and reports the time from main() to the first presented frame, then the
// frame rate and the CPU cores the process used (utime + stime, the driver's threads
// included) over SECONDS of frames.
//   NAME SECONDS [OPTIONS...]   -> "first-frame <ms> fps <frames per second> cores <cores>"
#pragma once
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "native/native_process.h"
#include "render/render_start.h"
#include "xscreensaver/saver_options.h"

using BenchClock = std::chrono::steady_clock;

inline double msSince(BenchClock::time_point start) {
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

inline double cpuSeconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline int benchNativeSaver(int argc, char** argv, BenchClock::time_point start, int (*run)(const SaverOptions&)) {
    SaverOptions options;
    std::string error;
    if (argc < 2 || !readSaverOptions(argc - 1, argv + 1, nullptr, options, error)) {
        std::fprintf(stderr, "usage: %s SECONDS [OPTIONS...] %s\n", argv[0], error.c_str());
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    double firstFrameMs = -1, fps = 0, cores = 0;
    std::thread watcher([&] {
        while (framesPresented.load() == 0 && msSince(start) < 30000)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        firstFrameMs = msSince(start);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // past the first frames' set-up
        const uint32_t fromFrame = framesPresented.load();
        const BenchClock::time_point fromTime = BenchClock::now();
        const double fromCpu = cpuSeconds();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const double elapsedMs = msSince(fromTime);
        fps = (framesPresented.load() - fromFrame) * 1000.0 / elapsedMs;
        cores = (cpuSeconds() - fromCpu) * 1000.0 / elapsedMs;
        requestSaverEnd();
    });
    const int status = run(options);
    watcher.join();
    std::printf("first-frame %.1f fps %.1f cores %.2f\n", firstFrameMs, fps, cores);
    return status;
}
