// A whole run of the native saver on a Wayland desktop: the outputs, the desktop picture,
// a full-screen window on every output as outputs come and go, and the frame loop that draws
// them all. Main thread.
#pragma once
#include <string>

#include "native/frame_loop.h"
#include "native/picture_choice.h"

// Returns the exit status: 0 when the run ended as asked (a key, a button or a move of the
// pointer, a signal, the compositor closing the window), 1 when the compositor or OpenGL
// cannot be had or the compositor went away. Messages go to stderr, but for a compositor
// that cannot be reached at all: with `unreachable` given, that message goes there instead,
// for a caller that has another desktop to try. The picture comes from `sources`.
int runWaylandSaver(const FrameLoopOptions& loop, const PictureSources& sources, std::string* unreachable = nullptr);
