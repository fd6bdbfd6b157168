#include "x11/draw_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "render/frame_pacing.h"
#include "x11/window_end_watch.h"

namespace {

// X errors never end the program (Xlib's own handler would): an error about the window
// drawn in means that it is gone; an error while a request is tried (trialError) is that
// request's failure; any other is left alone. Both connections of a run (the end watch has
// one) come here.
std::atomic<Window> watchedWindow{0};
std::atomic<bool> watchedWindowGone{false};
std::atomic<bool> trying{false};
std::atomic<int> trialError{0};
int glxErrorBase = -1000;
const int glxBadDrawable = 2, glxBadWindow = 12;  // GLX protocol error numbers

int onXError(Display*, XErrorEvent* error) {
    const bool badWindow = error->error_code == BadWindow || error->error_code == BadDrawable ||
                           error->error_code == glxErrorBase + glxBadDrawable ||
                           error->error_code == glxErrorBase + glxBadWindow;
    if (badWindow && error->resourceid == watchedWindow) watchedWindowGone = true;
    if (trying && trialError == 0) trialError = error->error_code;
    return 0;
}

// The display connection is gone (the server ended, the user logged out, a forwarded
// display dropped): Xlib cannot go on with it, and its own handler would exit() under the
// end watch's thread. One line and status 1 instead, from whichever connection saw it
// first; the other waits for that one's exit, so that the line is out before the process ends.
int onXConnectionLost(Display*) {
    static std::atomic<bool> said{false};
    static const char line[] = "quakeglass: the X display went away\n";
    if (said.exchange(true)) std::this_thread::sleep_for(std::chrono::seconds(1));
    else if (write(STDERR_FILENO, line, sizeof line - 1) < 0) _exit(1);
    _exit(1);
}

// Sends what was asked since beginTrial and says which error, if any, came of it.
void beginTrial() {
    trialError = 0;
    trying = true;
}
int endTrial(Display* display) {
    XSync(display, False);
    trying = false;
    return trialError;
}

void watchWindow(Window window) {
    watchedWindow = window;
    watchedWindowGone = false;
}

std::string hexId(Window window) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(window));
    return text;
}

// The visual of an existing window, when OpenGL can draw on it in RGBA.
XVisualInfo* windowVisual(Display* display, const XWindowAttributes& attributes) {
    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    wanted.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    XVisualInfo* info = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
    int usesGL = 0, rgba = 0;
    if (info) glXGetConfig(display, info, GLX_USE_GL, &usesGL), glXGetConfig(display, info, GLX_RGBA, &rgba);
    if (info && usesGL && rgba) return info;
    if (info) XFree(info);
    return nullptr;
}

bool useForeignWindow(Display* display, const SaverOptions& options, DrawWindow& draw, XVisualInfo*& visual,
                      std::string& error) {
    draw.window = givenWindow(display, options);
    watchWindow(draw.window);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, draw.window, &attributes)) {
        error = "no window " + hexId(draw.window) + " on this display";
        return false;
    }
    if (attributes.c_class == InputOnly) {
        error = "window " + hexId(draw.window) + " is input-only: OpenGL cannot draw on it";
        return false;
    }
    visual = windowVisual(display, attributes);
    if (!visual) {
        error = "window " + hexId(draw.window) + " has a visual that OpenGL cannot draw on";
        return false;
    }
    draw.width = attributes.width, draw.height = attributes.height;
    // Only the structure: the window's owner keeps its input. A virtual root can go away
    // too; the real root never does.
    if (draw.window != DefaultRootWindow(display)) XSelectInput(display, draw.window, StructureNotifyMask);
    return true;
}

Cursor blankCursor(Display* display, Window window) {
    const char nothing = 0;
    Pixmap empty = XCreateBitmapFromData(display, window, &nothing, 1, 1);
    XColor black = {};
    Cursor cursor = XCreatePixmapCursor(display, empty, empty, &black, &black, 0, 0);
    XFreePixmap(display, empty);
    return cursor;
}

// What desktop tools look for: name, class, process id and machine, the close protocol,
// and full screen under a window manager.
void setOwnWindowProperties(Display* display, DrawWindow& draw) {
    XClassHint classHint = {const_cast<char*>("quakeglass"), const_cast<char*>("quakeglass")};
    XTextProperty name;
    char* title = const_cast<char*>("Quakeglass");
    XStringListToTextProperty(&title, 1, &name);
    XSetWMProperties(display, draw.window, &name, &name, nullptr, 0, nullptr, nullptr, &classHint);
    XFree(name.value);
    const long pid = long(getpid());
    XChangeProperty(display, draw.window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display, draw.window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&fullScreen), 1);
    draw.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, draw.window, &draw.deleteWindow, 1);
}

bool makeOwnWindow(Display* display, DrawWindow& draw, XVisualInfo*& visual, std::string& error) {
    const int screen = DefaultScreen(display);
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                        GLX_DEPTH_SIZE, 16, None};
    visual = glXChooseVisual(display, screen, attributes);
    if (!visual) {
        error = "no double-buffered OpenGL visual with a depth buffer on this display";
        return false;
    }
    const Window root = RootWindow(display, screen);
    draw.width = DisplayWidth(display, screen), draw.height = DisplayHeight(display, screen);
    XSetWindowAttributes set = {};
    set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    set.background_pixel = BlackPixel(display, screen);
    set.event_mask = StructureNotifyMask;  // the ending input: see selectOwnWindowInput
    beginTrial();
    draw.window = XCreateWindow(display, root, 0, 0, unsigned(draw.width), unsigned(draw.height), 0, visual->depth,
                                InputOutput, visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask,
                                &set);
    if (const int failure = endTrial(display)) {
        error = "cannot make a window of " + std::to_string(draw.width) + "x" + std::to_string(draw.height) +
                " on this display (X error " + std::to_string(failure) + ")";
        XFree(visual);
        visual = nullptr;
        return false;
    }
    draw.own = true;
    watchWindow(draw.window);
    setOwnWindowProperties(display, draw);
    XDefineCursor(display, draw.window, blankCursor(display, draw.window));
    return true;
}

// Interval 1 where the GLX offers a swap interval, so that frames never outrun the display.
void setSwapInterval(Display* display, Window window) {
    const auto address = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    switch (chooseSwapControl(glXQueryExtensionsString(display, DefaultScreen(display)))) {
    case SwapControl::Ext:
        if (auto set = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(address("glXSwapIntervalEXT"))) set(display, window, 1);
        break;
    case SwapControl::Mesa:
        if (auto set = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(address("glXSwapIntervalMESA"))) set(1);
        break;
    case SwapControl::Sgi:
        if (auto set = reinterpret_cast<PFNGLXSWAPINTERVALSGIPROC>(address("glXSwapIntervalSGI"))) set(1);
        break;
    case SwapControl::Unavailable:
        break;
    }
}

}  // namespace

bool catchXErrors(Display* display) {
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXConnectionLost);
    int opcode, eventBase, errorBase;
    if (!XQueryExtension(display, "GLX", &opcode, &eventBase, &errorBase)) return false;
    glxErrorBase = errorBase;
    return true;
}

void selectOwnWindowInput(DrawWindow& draw) {
    XSelectInput(draw.display, draw.window, endingInputMask | StructureNotifyMask);
}

Window findVirtualRoot(Display* display, Window root) {
    const Atom vroot = XInternAtom(display, "__SWM_VROOT", True);
    Window rootReturn, parent, *children = nullptr;
    unsigned count = 0;
    if (vroot == None || !XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return root;
    Window found = root;
    for (unsigned i = 0; i < count && found == root; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* value = nullptr;
        if (XGetWindowProperty(display, children[i], vroot, 0, 1, False, XA_WINDOW, &type, &format, &items, &after,
                               &value) == Success && type == XA_WINDOW && format == 32 && items == 1)
            found = *reinterpret_cast<Window*>(value);
        if (value) XFree(value);
    }
    if (children) XFree(children);
    return found;
}

Window givenWindow(Display* display, const SaverOptions& options) {
    if (options.target == DrawTarget::OwnWindow) return None;
    const Window root = DefaultRootWindow(display);
    return options.target == DrawTarget::Root ? findVirtualRoot(display, root) : Window(options.windowId);
}

int openDrawWindow(Display* display, const SaverOptions& options, DrawWindow& draw, std::string& error) {
    draw.display = display;
    XVisualInfo* visual = nullptr;
    const bool own = options.target == DrawTarget::OwnWindow;
    if (own ? !makeOwnWindow(display, draw, visual, error) : !useForeignWindow(display, options, draw, visual, error))
        return own ? 1 : 2;
    beginTrial();
    draw.context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    if (endTrial(display) || !draw.context) {
        error = "cannot create an OpenGL context for window " + hexId(draw.window);
        return 1;
    }
    if (!glXMakeCurrent(display, draw.window, draw.context)) {
        error = "cannot make an OpenGL context current on window " + hexId(draw.window);
        return own ? 1 : 2;
    }
    setSwapInterval(display, draw.window);
    return 0;
}

void watchVisibility(DrawWindow& draw) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(draw.display, draw.window, &attributes))
        XSelectInput(draw.display, draw.window, attributes.your_event_mask | VisibilityChangeMask);
}

void showDrawWindow(DrawWindow& draw) {
    if (draw.own) XMapRaised(draw.display, draw.window);
}

bool drawWindowGone() { return watchedWindowGone; }

void closeDrawWindow(DrawWindow& draw) {
    glXMakeCurrent(draw.display, None, nullptr);
    if (draw.context) glXDestroyContext(draw.display, draw.context);
    draw.context = nullptr;
    if (draw.own && !watchedWindowGone) XDestroyWindow(draw.display, draw.window);
    XSync(draw.display, False);
}
