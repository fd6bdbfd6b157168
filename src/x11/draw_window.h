// The window the native saver draws in, and the GLX context on it: found (the root or its
// virtual root, a given window, the daemon's window) or made (a full-screen window of its
// own). Main thread, the only thread of the native saver.
#pragma once
#include <X11/Xlib.h>

#include <GL/glx.h>

#include <string>

#include "xscreensaver/saver_options.h"

struct DrawWindow {
    Display* display = nullptr;
    Window window = 0;
    bool own = false;        // made here: a key, a click or a close ends the run
    Atom deleteWindow = 0;   // WM_DELETE_WINDOW, for the close of an own window
    GLXContext context = nullptr;
    int width = 0, height = 0;
};

// Installs the program's X error handlers: no request's error ends the program, and the
// loss of the display ends it with one line and status 1. First thing after the display
// opens. False when the display has no GLX extension.
bool catchXErrors(Display* display);

// The window that stands for the root: a child of the root that names itself in its
// __SWM_VROOT property (a virtual-root window manager's desktop, or a daemon's saver
// window), or the root itself.
Window findVirtualRoot(Display* display, Window root);

// The existing window that the options name (the virtual root for -root), or None when
// the saver makes its own.
Window givenWindow(Display* display, const SaverOptions& options);

// Finds or makes the window and makes a GLX context current on it, with a swap interval
// of 1 where the GLX offers one. 0 when it did; otherwise the exit status, with a one-line
// message: 2 when the window given does not exist or cannot take OpenGL, 1 when a window or
// a context cannot be made.
int openDrawWindow(Display* display, const SaverOptions& options, DrawWindow& draw, std::string& error);

// Whether the window drawn in has been destroyed (its owner closed it, or the X errors
// of drawing on it say so).
bool drawWindowGone();

// The input that ends an own window's run, on the main connection: only where the end
// watch cannot take it (a click goes to one client only).
void selectOwnWindowInput(DrawWindow& draw);

// Adds the window's visibility changes (VisibilityNotify) to the events the main
// connection takes from it.
void watchVisibility(DrawWindow& draw);

// Maps an own window; the snapshot is taken before, so that it does not show it.
void showDrawWindow(DrawWindow& draw);

// Releases the context and destroys an own window.
void closeDrawWindow(DrawWindow& draw);
