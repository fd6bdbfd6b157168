// Runs the native saver with the given options in this process, on the desktop it picks
// (X11, or Wayland with one output), and reports the time from main() to the first
// presented frame, then the frame rate and the CPU cores the process used (all its
// threads) over SECONDS after it. For the frame-rate scenario and tools/bench.
//   saver_rate SECONDS [OPTIONS...]   -> "first-frame <ms> fps <frames per second> cores <cores>"
//   saver_rate steps [OPTIONS...]     -> "ready" after the first frame, then for each line read
//     "frames <frames> cores <cores>" since the last; the end of input ends the run
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "native/end_watch.h"
#include "native/native_process.h"
#include "native_entry/native_saver.h"
#include "render/render_start.h"
#include "xscreensaver/saver_options.h"

using Clock = std::chrono::steady_clock;

static double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The steps of a scenario that covers and shows the saver: frames and cores between the
// lines it sends.
static void countInSteps(Clock::time_point start) {
    while (framesPresented.load() == 0 && msSince(start) < 30000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::printf(framesPresented.load() ? "ready\n" : "no frame\n");
    std::fflush(stdout);
    for (char byte = 0;;) {
        const uint32_t fromFrames = framesPresented.load();
        const double fromCpu = processCpuSeconds();
        const Clock::time_point fromTime = Clock::now();
        while (read(STDIN_FILENO, &byte, 1) == 1 && byte != '\n') {
        }
        if (byte != '\n') break;
        byte = 0;
        const double cores = (processCpuSeconds() - fromCpu) * 1000.0 / msSince(fromTime);
        std::printf("frames %u cores %.3f\n", framesPresented.load() - fromFrames, cores);
        std::fflush(stdout);
    }
    requestEnd();
}

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    SaverOptions options;
    std::string error;
    if (argc < 2 || !readSaverOptions(argc - 1, argv + 1, nullptr, options, error)) {
        std::fprintf(stderr, "usage: saver_rate SECONDS [OPTIONS...] %s\n", error.c_str());
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    double firstFrameMs = -1, fps = 0, cores = 0;
    const bool steps = std::strcmp(argv[1], "steps") == 0;
    std::thread watcher([&] {
        if (steps) return countInSteps(start);
        while (framesPresented.load() == 0 && msSince(start) < 30000)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        firstFrameMs = msSince(start);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // past the first frames' set-up
        const uint32_t fromFrames = framesPresented.load();
        const double fromCpu = processCpuSeconds();
        const Clock::time_point fromTime = Clock::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const double elapsedMs = msSince(fromTime);
        fps = (framesPresented.load() - fromFrames) * 1000.0 / elapsedMs;
        cores = (processCpuSeconds() - fromCpu) * 1000.0 / elapsedMs;
        requestEndAfterFrame();
    });
    const int status = runNativeSaver(options, std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
    // A run ended by a signal leaves the steps waiting on their input.
    if (steps) return watcher.detach(), status;
    watcher.join();
    std::printf("first-frame %.1f fps %.1f cores %.3f\n", firstFrameMs, fps, cores);
    return status;
}
