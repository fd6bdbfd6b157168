// The native saver's run on X11, on its main thread: the display, the window, the
// snapshot, then the shared frame loop; the end watch notices an end in the middle of a
// frame or of start-up too.
#include "x11/saver_run.h"

#include <poll.h>

#include <cstdio>
#include <cstdlib>

#include "native/end_rule.h"
#include "native/frame_loop.h"
#include "native/native_run.h"
#include "native/picture_choice.h"
#include "native/posix_wait.h"
#include "settings/saver_settings.h"
#include "x11/draw_window.h"
#include "render/frame_timer.h"
#include "render/monitor_views.h"
#include "render/other_scenes.h"
#include "x11/screen_monitors.h"
#include "x11/screen_snapshot.h"
#include "x11/window_end_watch.h"

namespace {

struct X11Host {
    DrawWindow draw;
    EndRule rule;  // an own window's input, when the end watch cannot take it
    bool watchesSight = false;  // an own window or the root: unseen, it draws nothing
    bool unseen = false;        // unmapped or fully covered
};

X11Host& hostOf(void* self) { return *static_cast<X11Host*>(self); }

// While nobody can see the window the loop waits for X to say it shows again; the motion
// stands still meanwhile.
void setUnseen(X11Host& host, bool unseen) {
    if (!host.watchesSight || unseen == host.unseen) return;
    host.unseen = unseen;
    if (unseen)
        pauseFrameClock();
    else
        resumeFrameClock();
}

HostState readEvents(void* self) {
    DrawWindow& draw = hostOf(self).draw;
    while (XPending(draw.display)) {
        XEvent event;
        XNextEvent(draw.display, &event);
        if (event.xany.window != draw.window) continue;
        InputEvent input;
        if (draw.own && inputEventOf(event, input) && endsRun(hostOf(self).rule, input)) return HostState::Ended;
        switch (event.type) {
        case ClientMessage:
            if (draw.own && Atom(event.xclient.data.l[0]) == draw.deleteWindow) return HostState::Ended;
            break;
        case MapNotify:
            // The keys that end the run must reach it, whoever had the focus before.
            if (draw.own) XSetInputFocus(draw.display, draw.window, RevertToParent, CurrentTime);
            setUnseen(hostOf(self), false);
            break;
        case UnmapNotify: setUnseen(hostOf(self), true); break;
        case VisibilityNotify: setUnseen(hostOf(self), event.xvisibility.state == VisibilityFullyObscured); break;
        case DestroyNotify:
            if (event.xdestroywindow.window == draw.window) return HostState::Ended;
            break;
        case ConfigureNotify: draw.width = event.xconfigure.width, draw.height = event.xconfigure.height; break;
        }
    }
    return drawWindowGone() ? HostState::Ended : HostState::Running;
}

bool wantsFrame(void* self) { return !hostOf(self).unseen; }

HostState wait(void* self, int timeoutMs) {
    waitForFd(ConnectionNumber(hostOf(self).draw.display), POLLIN, timeoutMs);
    return readEvents(self);
}

void size(void* self, int& width, int& height) {
    width = hostOf(self).draw.width, height = hostOf(self).draw.height;
}

void present(void* self) { glXSwapBuffers(hostOf(self).draw.display, hostOf(self).draw.window); }

// Where each scene shows. A full-screen window (its own, or the root) covers every monitor
// of the screen; a window given to draw in, or the daemon's (one for each monitor), has one
// scene showing the whole screen's picture, as ever.
void chooseSceneViews(const DrawWindow& draw, const SaverOptions& options) {
    sceneViews.clear();
    if (options.target != DrawTarget::OwnWindow && options.target != DrawTarget::Root) return;
    const MonitorMode mode = monitorModeOf(saverSettings, nativeMonitorModeDefault);
    sceneViews = monitorViews(mode, {0, 0, draw.width, draw.height}, screenMonitors(draw.display), 0);
    otherScenes.assign(sceneViews.size() - 1, SceneState());
}

// The window drawn in is watched for the end by the end watch; the input of an own window
// comes to the main connection only when the watch cannot take it.
void watchForEnd(DrawWindow& draw, const char* displayName) {
    const bool watched =
        draw.window != DefaultRootWindow(draw.display) && watchWindowForEnd(displayName, draw.window, draw.own);
    if (draw.own && !watched) selectOwnWindowInput(draw);
}

int runOnDisplay(Display* display, const SaverOptions& options, const FrameLoopOptions& loop) {
    X11Host host;
    DrawWindow& draw = host.draw;
    std::string error;
    if (const int status = openDrawWindow(display, options, draw, error)) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        closeDrawWindow(draw);
        return status;
    }
    chooseSceneViews(draw, options);
    // The desktop, unless a daemon's user keeps it from being grabbed; else a picture from the
    // user's folder, on every monitor; else (a screen with nothing to show too) the logo, as
    // "OpenGL Logo" does. An own window is not mapped yet.
    const bool previewMode = options.target == DrawTarget::GivenWindow;
    const PictureSources sources = nativePictureSources(options, options.target == DrawTarget::DaemonWindow);
    if (!saverSettings.useOGL &&
        !(sources.desktop && captureScreen(display, previewMode, draw.own ? None : draw.window))) {
        if (folderSnapshot(sources.folder, draw.width, draw.height, previewMode))
            shareFirstSnapshot();
        else
            saverSettings.useOGL = 1;
    }
    const char* displayName = options.display.empty() ? nullptr : options.display.c_str();
    watchForEnd(draw, displayName);
    // Under the daemon, the daemon decides what shows; a given window's owner does.
    host.watchesSight = options.target == DrawTarget::OwnWindow || options.target == DrawTarget::Root;
    if (host.watchesSight) watchVisibility(draw);
    showDrawWindow(draw);
    const FrameHost frames = {&host, readEvents, wantsFrame, wait, size, present};
    const int status = runFrameLoop(frames, loop);
    closeDrawWindow(draw);
    return status;
}

int runOnX11(const SaverOptions& options, const FrameLoopOptions& loop) {
    const char* displayName = options.display.empty() ? nullptr : options.display.c_str();
    Display* display = XOpenDisplay(displayName);
    if (!display) {
        std::fprintf(stderr, "quakeglass: cannot open display '%s'\n", XDisplayName(displayName));
        return 1;
    }
    int status = 1;
    if (catchXErrors(display))
        status = runOnDisplay(display, options, loop);
    else
        std::fprintf(stderr, "quakeglass: display '%s' has no GLX extension: OpenGL cannot draw there\n",
                     XDisplayName(displayName));
    XCloseDisplay(display);
    return status;
}

}  // namespace

int runSaver(const SaverOptions& options, const FrameLoopOptions& loop) {
    XInitThreads();  // two connections on two threads, and one error handler for both
    return runWithEndWatch([&] { return runOnX11(options, loop); });
}
