// A whole run of the native saver: display, window, snapshot, the frame loop and the end.
// Everything happens on the thread that calls runSaver, but for the end watch's thread.
#pragma once
#include "xscreensaver/saver_options.h"

// Returns the exit status: 0 when the run ended as asked (a signal, the window gone, a key
// or a click in an own window), 1 when the display or its GLX cannot be had, 2 when the
// window to draw in does not exist or cannot take OpenGL. Messages go to stderr.
int runSaver(const SaverOptions& options);
