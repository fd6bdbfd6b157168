// The desktop snapshot from the X screen: the root window with its child windows, read
// once before the first frame and squeezed as the Windows capture squeezes; under a
// daemon that keeps a screenshot of the desktop on its window, that screenshot. Main thread.
#pragma once
#include <X11/Xlib.h>

// Fills desktopSnapshot at the size the settings (or a preview) ask for. `drawnIn` is the
// window the saver will draw in, or None. False when the screen has nothing to show (it
// cannot be read, or reads all black, as under a compositor or a daemon's blank window):
// the logo then stands in.
bool captureScreen(Display* display, bool previewMode, Window drawnIn);
