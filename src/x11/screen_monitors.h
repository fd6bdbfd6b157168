// The monitors of an X screen, as the screen's full-screen window sees them. Main thread.
#pragma once
#include <X11/Xlib.h>

#include <vector>

#include "capture/desktop_snapshot.h"

// The monitors of the display's default screen in its coordinates, the primary one first:
// RandR 1.5 monitors where the server has them, else Xinerama's screens; none when neither
// says (one screen, one monitor).
std::vector<ScreenArea> screenMonitors(Display* display);
