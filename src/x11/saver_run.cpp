// The native saver's run on its one thread: between frames it handles the window's
// events and the end signals, so that it ends within a frame of being asked.
#include "x11/saver_run.h"

#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "xscreensaver/daemon_settings.h"
#include "render/frame.h"
#include "render/render_start.h"
#include "settings/saver_settings.h"
#include "x11/draw_window.h"
#include "x11/screen_snapshot.h"

namespace {

// Set by the signal handlers and by requestSaverEnd from any thread.
std::atomic<bool> endRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

void onEndSignal(int) { endRequested = true; }

void catchEndSignals() {
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

// Priority 0..5 as a change of the nice level the process was started with (a daemon
// may have niced it already): lower for 0 and 1, higher for 3..5 where permitted.
void applyPriority(int priority) {
    static const int niceChange[] = {10, 5, 0, -5, -10, -20};
    if (priority < 0 || priority > 5 || niceChange[priority] == 0) return;
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, 0);
    if (errno) return;
    int wanted = current + niceChange[priority];
    wanted = wanted < -20 ? -20 : wanted > 19 ? 19 : wanted;
    setpriority(PRIO_PROCESS, 0, wanted);  // raising needs privilege: without it, stay
}

uint32_t clockSeed() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// Pending events of the window; true when they end the run.
bool handleEvents(DrawWindow& draw) {
    while (XPending(draw.display)) {
        XEvent event;
        XNextEvent(draw.display, &event);
        if (event.xany.window != draw.window) continue;
        switch (event.type) {
        case KeyPress:
        case ButtonPress: return draw.own;
        case ClientMessage:
            if (draw.own && Atom(event.xclient.data.l[0]) == draw.deleteWindow) return true;
            break;
        case MapNotify:
            // The keys that end the run must reach it, whoever had the focus before.
            if (draw.own) XSetInputFocus(draw.display, draw.window, RevertToParent, CurrentTime);
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == draw.window) return true;
            break;
        case ConfigureNotify:
            draw.width = event.xconfigure.width, draw.height = event.xconfigure.height;
            glViewport(0, 0, draw.width, draw.height);
            break;
        }
    }
    return drawWindowGone();
}

void drawFrames(DrawWindow& draw) {
    while (!endRequested && !handleEvents(draw)) {
        drawFrame();
        glXSwapBuffers(draw.display, draw.window);
        framesPresented.fetch_add(1, std::memory_order_relaxed);
        sched_yield();
    }
}

}  // namespace

void requestSaverEnd() { endRequested = true; }

int runSaver(const SaverOptions& options) {
    catchEndSignals();
    applyPriority(saverSettings.Priority);
    Display* display = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
    if (!display) {
        std::fprintf(stderr, "quakeglass: cannot open display '%s'\n", XDisplayName(options.display.c_str()));
        return 1;
    }
    const bool previewMode = options.target == DrawTarget::GivenWindow;
    // A screen with nothing to show gives the logo, as "OpenGL Logo" does; so does a daemon
    // whose user keeps the desktop from being grabbed.
    const bool grabAllowed = options.target != DrawTarget::DaemonWindow ||
                             desktopGrabAllowed(std::getenv("HOME"), "/etc/X11/app-defaults/XScreenSaver");
    if (!saverSettings.useOGL && !(grabAllowed && captureScreen(display, previewMode, givenWindow(display, options))))
        saverSettings.useOGL = 1;
    DrawWindow draw;
    std::string error;
    if (!openDrawWindow(display, options, draw, error)) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        XCloseDisplay(display);
        return 2;
    }
    showDrawWindow(draw);
    startRendering(draw.width, draw.height, clockSeed());
    drawFrames(draw);
    closeDrawWindow(draw);
    XCloseDisplay(display);
    return 0;
}
