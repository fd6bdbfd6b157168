#include "x11/window_end_watch.h"

#include "native/end_watch.h"

namespace {

// The watch's connection and what it looks for; read on the watch's thread only once set.
Display* watchDisplay = nullptr;
Window watchedWindow = None;
bool watchedOwnWindow = false;
EndRule watchRule;

bool endsRun(const XEvent& event) {
    if (event.type == DestroyNotify) return event.xdestroywindow.window == watchedWindow;
    InputEvent input;
    return watchedOwnWindow && inputEventOf(event, input) && endsRun(watchRule, input);
}

bool pendingEventsEndRun() {
    bool ends = false;
    while (XPending(watchDisplay)) {
        XEvent event;
        XNextEvent(watchDisplay, &event);
        ends = endsRun(event) || ends;
    }
    return ends;
}

void closeWatchDisplay() { XCloseDisplay(watchDisplay); }

}  // namespace

bool inputEventOf(const XEvent& event, InputEvent& input) {
    switch (event.type) {
    case KeyPress: input = {InputKind::Key}; return true;
    // Buttons 4 to 7 are the wheel, up, down, left and right.
    case ButtonPress:
        input = {event.xbutton.button >= 4 && event.xbutton.button <= 7 ? InputKind::Wheel : InputKind::Button};
        return true;
    case MotionNotify:
        input = {InputKind::PointerMoved, double(event.xmotion.x_root), double(event.xmotion.y_root)};
        return true;
    case EnterNotify:
        input = {InputKind::PointerEntered, double(event.xcrossing.x_root), double(event.xcrossing.y_root)};
        return true;
    case LeaveNotify: input = {InputKind::PointerLeft}; return true;
    }
    return false;
}

bool watchWindowForEnd(const char* displayName, Window window, bool ownWindow) {
    Display* display = XOpenDisplay(displayName);
    if (!display) return false;
    watchedWindow = window, watchedOwnWindow = ownWindow;
    XSelectInput(display, window, StructureNotifyMask | (ownWindow ? endingInputMask : 0));
    XSync(display, False);
    watchDisplay = display;
    if (watchForEndAlso(ConnectionNumber(display), pendingEventsEndRun, closeWatchDisplay)) return true;
    XCloseDisplay(display);
    watchDisplay = nullptr;
    return false;
}
