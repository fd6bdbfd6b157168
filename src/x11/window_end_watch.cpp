#include "x11/window_end_watch.h"

#include "native/end_watch.h"

namespace {

// The watch's connection and what it looks for; read on the watch's thread only once set.
Display* watchDisplay = nullptr;
Window watchedWindow = None;
bool watchedOwnWindow = false;

bool endsRun(const XEvent& event) {
    if (event.type == DestroyNotify) return event.xdestroywindow.window == watchedWindow;
    return watchedOwnWindow && (event.type == KeyPress || event.type == ButtonPress);
}

bool pendingEventsEndRun() {
    bool ends = false;
    while (XPending(watchDisplay)) {
        XEvent event;
        XNextEvent(watchDisplay, &event);
        ends = ends || endsRun(event);
    }
    return ends;
}

void closeWatchDisplay() { XCloseDisplay(watchDisplay); }

}  // namespace

bool watchWindowForEnd(const char* displayName, Window window, bool ownWindow) {
    Display* display = XOpenDisplay(displayName);
    if (!display) return false;
    watchedWindow = window, watchedOwnWindow = ownWindow;
    XSelectInput(display, window, StructureNotifyMask | (ownWindow ? KeyPressMask | ButtonPressMask : 0));
    XSync(display, False);
    watchDisplay = display;
    if (watchForEndAlso(ConnectionNumber(display), pendingEventsEndRun, closeWatchDisplay)) return true;
    XCloseDisplay(display);
    watchDisplay = nullptr;
    return false;
}
