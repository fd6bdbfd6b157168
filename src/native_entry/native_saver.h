// The native saver above its two hosts: one run on the desktop chosen, Wayland or X11, and
// the fall back from Wayland to X11. Main thread.
#pragma once
#include "xscreensaver/saver_options.h"

// On Wayland when triesWayland says so, falling back to the X display with one line on
// stderr when no compositor can be reached and -wayland did not force the choice; otherwise
// on X11. `waylandDisplay` and `xDisplay` are $WAYLAND_DISPLAY and $DISPLAY. Returns the
// exit status.
int runNativeSaver(const SaverOptions& options, const char* waylandDisplay, const char* xDisplay);
