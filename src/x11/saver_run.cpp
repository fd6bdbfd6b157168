// The native saver's run on its main thread: between frames it waits, paced by -delay,
// for the next frame's time, the window's events or the end, whichever comes first; the
// end watch notices an end in the middle of a frame or of start-up too.
#include "x11/saver_run.h"

#include <poll.h>

#include <cstdio>
#include <cstdlib>

#include "native/end_watch.h"
#include "native/native_process.h"
#include "native/picture_choice.h"
#include "render/frame.h"
#include "render/frame_pacing.h"
#include "render/frame_timer.h"
#include "render/fps_overlay.h"
#include "render/render_start.h"
#include "settings/saver_settings.h"
#include "x11/draw_window.h"
#include "x11/window_end_watch.h"
#include "x11/screen_snapshot.h"

namespace {

int64_t nowUs() { return int64_t(FrameTimer::nowMs() * 1000); }

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

// Sleeps until `timeoutMs` have passed, an event has come in or the end is asked for.
void waitForEvents(Display* display, int timeoutMs) {
    pollfd fds[] = {{ConnectionNumber(display), POLLIN, 0}, {endWakeFd(), POLLIN, 0}};
    poll(fds, 2, timeoutMs);
}

void drawFrames(DrawWindow& draw, const SaverOptions& options) {
    FramePacer pacer{options.delayUs};
    FpsOverlay fps;
    while (!endRequested() && !handleEvents(draw)) {
        const int64_t now = nowUs();
        if (const int waitMs = frameWaitMs(pacer, now)) {
            waitForEvents(draw.display, waitMs);
            continue;
        }
        startFrame(pacer, now);
        drawFrame();
        if (options.showFps) {
            countFpsFrame(fps, double(FrameTimer::nowMs()) * 0.001, processCpuSeconds());
            drawFpsOverlay(fps, draw.width, draw.height);
        }
        glXSwapBuffers(draw.display, draw.window);
        framesPresented.fetch_add(1, std::memory_order_relaxed);
    }
}

// The window drawn in is watched for the end by the end watch; keys and clicks of an own
// window come to the main connection only when the watch cannot take them.
void watchForEnd(DrawWindow& draw, const char* displayName) {
    const bool watched =
        draw.window != DefaultRootWindow(draw.display) && watchWindowForEnd(displayName, draw.window, draw.own);
    if (draw.own && !watched) selectOwnWindowInput(draw);
}

int runOnDisplay(const SaverOptions& options) {
    const char* displayName = options.display.empty() ? nullptr : options.display.c_str();
    Display* display = XOpenDisplay(displayName);
    if (!display) {
        std::fprintf(stderr, "quakeglass: cannot open display '%s'\n", XDisplayName(displayName));
        return 1;
    }
    if (!catchXErrors(display)) {
        std::fprintf(stderr, "quakeglass: display '%s' has no GLX extension: OpenGL cannot draw there\n",
                     XDisplayName(displayName));
        XCloseDisplay(display);
        return 1;
    }
    DrawWindow draw;
    std::string error;
    if (!openDrawWindow(display, options, draw, error)) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        XCloseDisplay(display);
        return 2;
    }
    // The desktop, unless a daemon's user keeps it from being grabbed; else a picture from the
    // user's folder; else (a screen with nothing to show too) the logo, as "OpenGL Logo" does.
    // An own window is not mapped yet.
    const bool previewMode = options.target == DrawTarget::GivenWindow;
    const PictureSources sources = nativePictureSources(options, options.target == DrawTarget::DaemonWindow);
    if (!saverSettings.useOGL &&
        !(sources.desktop && captureScreen(display, previewMode, draw.own ? None : draw.window)) &&
        !folderSnapshot(sources.folder, draw.width, draw.height, previewMode))
        saverSettings.useOGL = 1;
    watchForEnd(draw, displayName);
    showDrawWindow(draw);
    startRendering(draw.width, draw.height, clockSeed());
    drawFrames(draw, options);
    closeDrawWindow(draw);
    XCloseDisplay(display);
    return 0;
}

}  // namespace

int runSaver(const SaverOptions& options) {
    XInitThreads();  // two connections on two threads, and one error handler for both
    startEndWatch();
    applyPriority(saverSettings.Priority);
    const int status = runOnDisplay(options);
    stopEndWatch();
    return status;
}
