// Benchmark, not a test: times the desktop capture, or runs the real full-screen
// saver (settings from the registry) and reports its start-up time and frame rate.
//   saver_win32_bench capture WIDTH HEIGHT   -> "capture <ms> peak-mb <MB>" (time: best of 5;
//     peak-mb: the peak working set after the first capture less the working set before it,
//     the capture's own peak when it is above the start-up's)
//   saver_win32_bench run SECONDS [PRESET]   -> "first-frame <ms> fps <frames per second>
//     cores <CPU cores of the process> hz <the display's refresh rate>" (PRESET: a preset
//     button's identifier, stored over the settings before the run)
//   saver_win32_bench preview SECONDS        -> the same for a preview in a 152x112 window
//   saver_win32_bench startup                -> each start-up mark, in ms from process start
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "capture/desktop_snapshot_win32.h"
#include "host/saver_host_win32.h"
#include "render/render_start.h"
#include "render/render_thread_win32.h"
#include "render/startup_marks.h"
#include "settings/presets.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

static double nowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// The process's working set now and at its peak, in bytes (0 where the call is missing).
static void workingSet(SIZE_T& now, SIZE_T& peak) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    using Query = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
    const Query query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    if (query) query(GetCurrentProcess(), &counters, sizeof counters);
    now = counters.WorkingSetSize;
    peak = counters.PeakWorkingSetSize;
}

static int benchCapture(int width, int height) {
    saverSettings.screenTextureWidth = width;
    saverSettings.screenTextureHeight = height;
    double best = 1e9;
    SIZE_T before, peak;
    workingSet(before, peak);
    for (int i = 0; i < 5; ++i) {
        const double start = nowMs();
        captureDesktop(false, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
        best = std::min(best, nowMs() - start);
        SIZE_T now;
        if (i == 0) workingSet(now, peak);
        std::free(desktopSnapshot.pixels);
        desktopSnapshot.pixels = nullptr;
    }
    std::printf("capture %.1f peak-mb %.1f\n", best, (double(peak) - double(before)) / 1e6);
    return 0;
}

// The first frame can come before the window's creation has returned: find the window
// itself rather than reading the host's record from this thread. A preview ends with the
// window it is shown in.
static void closeSaver(HWND previewParent = nullptr) {
    HWND window = previewParent;
    while (!window && !(window = FindWindowA("WindowsScreenSaverClass", "Screen Saver"))) Sleep(1);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// The CPU time of all the process's threads (the GL driver's too), in seconds.
static double processCpuSeconds() {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    const auto seconds = [](const FILETIME& t) { return double(ULONGLONG(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7; };
    return seconds(kernel) + seconds(user);
}

static int benchRun(double seconds, HWND previewParent = nullptr) {
    double firstFrameMs = -1, fps = 0, cores = 0;
    const double start = nowMs();
    std::thread watcher([&] {
        while (framesPresented.load() == 0 && nowMs() - start < 30000) Sleep(0);
        firstFrameMs = nowMs() - start;
        Sleep(500);  // past the first frames' set-up
        const uint32_t from = framesPresented.load();
        const double fromMs = nowMs(), fromCpu = processCpuSeconds();
        Sleep(DWORD(seconds * 1000));
        const double elapsedMs = nowMs() - fromMs;
        fps = (framesPresented.load() - from) * 1000.0 / elapsedMs;
        cores = (processCpuSeconds() - fromCpu) * 1000.0 / elapsedMs;
        closeSaver(previewParent);
    });
    saverHost.instance = GetModuleHandleA(nullptr);
    RunSaver(previewParent);
    watcher.join();
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    std::printf("first-frame %.1f fps %.1f cores %.3f hz %lu\n", firstFrameMs, fps, cores, mode.dmDisplayFrequency);
    return 0;
}

// One run to its first frame, then closed: when each step of the start-up ended.
static int benchStartup() {
    std::thread watcher([] {
        while (framesPresented.load() == 0) Sleep(1);
        closeSaver();
    });
    saverHost.instance = GetModuleHandleA(nullptr);
    RunSaver(nullptr);
    watcher.join();
    static const char* const names[startupMarkCount] = {"capture-begun",   "capture-ended", "thread-begun",
                                                        "pixel-format",    "context",       "scene",
                                                        "texture",         "first-frame"};
    for (int mark = 0; mark < startupMarkCount; ++mark) std::printf("%s %.1f ", names[mark], startupMarkMs[mark]);
    std::printf("\n");
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "startup") == 0) return benchStartup();
    if (argc == 4 && std::strcmp(argv[1], "capture") == 0) return benchCapture(std::atoi(argv[2]), std::atoi(argv[3]));
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "run") == 0) {
        if (argc == 4) {
            SettingsStore::load();
            applyPresetValues(std::atoi(argv[3]));
            SettingsStore::save();  // the run loads its settings from the registry
        }
        return benchRun(std::atof(argv[2]));
    }
    if (argc == 3 && std::strcmp(argv[1], "preview") == 0)  // the display control panel's preview window
        return benchRun(std::atof(argv[2]), CreateWindowA("STATIC", "Preview", WS_POPUP | WS_VISIBLE, 0, 0, 152, 112,
                                                          nullptr, nullptr, nullptr, nullptr));
    std::fprintf(stderr, "usage: saver_win32_bench capture W H | run SECONDS [PRESET] | preview SECONDS | startup\n");
    return 2;
}
