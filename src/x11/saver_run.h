// A whole run of the native saver on X11: display, window, snapshot, the frame loop and the
// end. Everything happens on the thread that calls runSaver, but for the end watch's thread.
#pragma once
#include "native/frame_loop.h"
#include "xscreensaver/saver_options.h"

// Returns the exit status: 0 when the run ended as asked (a signal, the window gone, the
// user's input in an own window), 1 when the display, its GLX, a window or a context cannot
// be had or the display went away, 2 when the window to draw in does not exist or cannot
// take OpenGL. Messages go to stderr.
int runSaver(const SaverOptions& options, const FrameLoopOptions& loop);
