// Benchmark, not a test: runs the native saver with the given options in this process and
// reports the time from main() to the first presented frame and the frame rate after it.
//   saver_x11_bench SECONDS [OPTIONS...]   -> "first-frame <ms> fps <frames per second>"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "native/native_process.h"
#include "xscreensaver/saver_options.h"
#include "render/render_start.h"
#include "x11/saver_run.h"

using Clock = std::chrono::steady_clock;

static double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    SaverOptions options;
    std::string error;
    if (argc < 2 || !readSaverOptions(argc - 1, argv + 1, nullptr, options, error)) {
        std::fprintf(stderr, "usage: saver_x11_bench SECONDS [OPTIONS...] %s\n", error.c_str());
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    double firstFrameMs = -1, fps = 0;
    std::thread watcher([&] {
        while (framesPresented.load() == 0 && msSince(start) < 30000) std::this_thread::yield();
        firstFrameMs = msSince(start);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // past the first frames' set-up
        const uint32_t from = framesPresented.load();
        const Clock::time_point fromTime = Clock::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        fps = (framesPresented.load() - from) * 1000.0 / msSince(fromTime);
        requestSaverEnd();
    });
    const int status = runSaver(options);
    watcher.join();
    std::printf("first-frame %.1f fps %.1f\n", firstFrameMs, fps);
    return status;
}
