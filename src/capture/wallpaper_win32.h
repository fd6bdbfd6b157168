// The Windows side of the desktop background: where the saver runs, and the user's
// wallpaper, its layout and background colour. Main thread.
#pragma once
#include "capture/desktop_snapshot.h"

// Whether this thread runs on the user's own desktop, not on the secure desktop of a PC
// that locks on resume. When that cannot be told, it is taken to be the user's.
bool onUsersDesktop();

// The user's desktop background of `area` in a width x height snapshot: the wallpaper as
// the user laid it out over the background colour on each monitor. Empty when there is
// neither a wallpaper that decodes nor a background colour, or the size cannot be held.
DesktopSnapshot backgroundPicture(const ScreenArea& area, int width, int height);
