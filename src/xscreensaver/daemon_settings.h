// What the X11 screen-saver daemon's settings say about showing the desktop: its
// "grabDesktopImages" preference (off keeps the desktop from being seen while the screen
// is locked). Portable; read on the main thread before the snapshot.
#pragma once
#include <string>

// The value of a True/False resource in the text of an X resource file ("name: value"
// or "*name: value"); `fallback` when it is not there or not a truth value.
bool booleanResource(const std::string& text, const char* name, bool fallback);

// The user's setting (~/.xscreensaver under `home`), else the system's defaults file,
// else allowed.
bool desktopGrabAllowed(const char* home, const char* systemDefaultsFile);
