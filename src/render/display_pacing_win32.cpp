// The display pacing's Windows edge: WGL's swap interval, the display's refresh rate, and
// the waits. The policy (the beat, whether swaps wait) is the portable frame pacing's.
#include "render/display_pacing_win32.h"

#include <GL/gl.h>

#include "render/frame_timer.h"

namespace {

const DWORD highResolutionTimer = 0x2;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

template <typename Function>
Function procedure(PROC found) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

int64_t nowUs() { return int64_t(FrameTimer::nowMs() * 1000); }

// Interval 1 where the driver names WGL_EXT_swap_control, in WGL's extension string or,
// as older drivers do, in OpenGL's.
bool setSwapInterval(HDC deviceContext) {
    using ArbExtensions = const char*(WINAPI*)(HDC);
    using ExtExtensions = const char*(WINAPI*)();
    const char* wglList = nullptr;
    if (auto arb = procedure<ArbExtensions>(wglGetProcAddress("wglGetExtensionsStringARB")))
        wglList = arb(deviceContext);
    else if (auto ext = procedure<ExtExtensions>(wglGetProcAddress("wglGetExtensionsStringEXT")))
        wglList = ext();
    const char* glList = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!hasExtension(wglList, "WGL_EXT_swap_control") && !hasExtension(glList, "WGL_EXT_swap_control")) return false;
    auto set = procedure<BOOL(WINAPI*)(int)>(wglGetProcAddress("wglSwapIntervalEXT"));
    return set && set(1);
}

// The primary display's rate: with several monitors, the primary's.
uint32_t displayRefreshHz() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    return EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) ? mode.dmDisplayFrequency : 0;
}

// A high-resolution timer where Windows makes one (the flag is refused before 1803), else
// a 1 ms resolution for Sleep while the saver runs.
void startWaits(DisplayPacing& pacing) {
    using CreateTimer = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
    const auto create = reinterpret_cast<CreateTimer>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateWaitableTimerExW")));
    if (create) pacing.timer = create(nullptr, nullptr, highResolutionTimer, TIMER_ALL_ACCESS);
    if (!pacing.timer) pacing.coarseTimer = timeBeginPeriod(1) == TIMERR_NOERROR;
}

void waitUs(const DisplayPacing& pacing, int64_t us) {
    LARGE_INTEGER due;
    due.QuadPart = -us * 10;  // relative, in 100 ns
    if (pacing.timer && SetWaitableTimer(pacing.timer, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(pacing.timer, INFINITE);
    else
        Sleep(DWORD((us + 999) / 1000));
}

}  // namespace

void startDisplayPacing(DisplayPacing& pacing, HDC deviceContext) {
    pacing.pacer.delayUs = displayPeriodUs(displayRefreshHz());
    pacing.swapWaits = setSwapInterval(deviceContext);
    if (!pacing.swapWaits) startWaits(pacing);
}

void paceFrame(DisplayPacing& pacing) {
    const int64_t now = nowUs();
    if (pacing.swapWaits) {
        if (!swapsOutrunDisplay(pacing.watch, now, pacing.pacer.delayUs)) return;
        pacing.swapWaits = false;  // the driver's swap does not wait: pace from here on
        startWaits(pacing);
    }
    if (const int64_t wait = frameWaitUs(pacing.pacer, now)) waitUs(pacing, wait);
    startFrameOnBeat(pacing.pacer, nowUs());
}

void restartDisplayPacing(DisplayPacing& pacing) {
    pacing.pacer.lastStartUs = FramePacer().lastStartUs;
    pacing.watch = SwapWatch();
}

void endDisplayPacing(DisplayPacing& pacing) {
    if (pacing.timer) CloseHandle(pacing.timer);
    if (pacing.coarseTimer) timeEndPeriod(1);
    pacing = DisplayPacing();
}
