// Which desktop a native run tries first, Wayland or X11. Portable.
#pragma once
#include "xscreensaver/saver_options.h"

// Wayland first when -wayland says so, or when neither -x11 nor -wayland is given,
// `waylandDisplay` ($WAYLAND_DISPLAY) names a compositor and no X window is given to draw in.
bool triesWayland(const SaverOptions& options, const char* waylandDisplay);

// The X display to fall back on when no compositor can be reached: -display, else
// `xDisplay` ($DISPLAY); null when there is none or -wayland forced the choice.
const char* fallbackDisplay(const SaverOptions& options, const char* xDisplay);
