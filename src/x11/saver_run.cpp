// The native saver's run on its one thread: between frames it handles the window's
// events and the end signals, so that it ends within a frame of being asked.
#include "x11/saver_run.h"

#include <sched.h>

#include <cstdio>
#include <cstdlib>

#include "native/native_process.h"
#include "xscreensaver/daemon_settings.h"
#include "render/frame.h"
#include "render/render_start.h"
#include "settings/saver_settings.h"
#include "x11/draw_window.h"
#include "x11/screen_snapshot.h"

namespace {

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
    while (!endRequested() && !handleEvents(draw)) {
        drawFrame();
        glXSwapBuffers(draw.display, draw.window);
        framesPresented.fetch_add(1, std::memory_order_relaxed);
        sched_yield();
    }
}

}  // namespace

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
