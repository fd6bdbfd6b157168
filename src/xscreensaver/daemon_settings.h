// What the X11 screen-saver daemon's settings say about showing the desktop: its
// "grabDesktopImages" preference (off keeps the desktop from being seen while the screen
// is locked). The text is read as the daemon reads it; read on the main thread before the snapshot.
#pragma once
#include <cstddef>
#include <string>

// The daemon's two files spell the setting differently: its own file as a bare name
// ("grabDesktopImages: True"), the system's defaults as an X resource ("*grabDesktopImages").
enum class DaemonFile { User, SystemDefaults };

enum class GrabSetting { NotSet, Allowed, Forbidden };

// The setting in the text of one of the daemon's files. The last line that names it, in
// any case, decides; it allows the grab only when it is spelled as the daemon reads it and
// says True, On or Yes (any case). Anything else there forbids it: when in doubt, the logo.
GrabSetting grabSetting(const std::string& text, DaemonFile file);

// The daemon's files are some tens of kilobytes; a larger one is not read.
const size_t maxDaemonFileBytes = 1 << 20;

// The user's setting (~/.xscreensaver under `home`), else the system's defaults file, else
// allowed. A file that is not a regular file of at most maxDaemonFileBytes (a FIFO, a
// device, a huge file) or cannot be read forbids the grab, with one line on stderr.
bool desktopGrabAllowed(const char* home, const char* systemDefaultsFile);
