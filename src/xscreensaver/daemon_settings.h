// What the X11 screen-saver daemon's settings say about the picture a saver shows: its
// "grabDesktopImages" preference (off keeps the desktop from being seen while the screen
// is locked), and "chooseRandomImages" with the "imageDirectory" they are taken from. The
// text is read as the daemon reads it; read on the main thread before the snapshot.
#pragma once
#include <cstddef>
#include <string>

// The daemon's two files spell the setting differently: its own file as a bare name
// ("grabDesktopImages: True"), the system's defaults as an X resource ("*grabDesktopImages").
enum class DaemonFile { User, SystemDefaults };

enum class GrabSetting { NotSet, Allowed, Forbidden };

// A yes-or-no setting by its name in the text of one of the daemon's files. The last line
// that names it, in any case, decides; it allows only when it is spelled as the daemon reads
// it and says True, On or Yes (any case). Anything else there forbids: when in doubt, no.
GrabSetting flagSetting(const std::string& text, DaemonFile file, const char* name);
inline GrabSetting grabSetting(const std::string& text, DaemonFile file) {
    return flagSetting(text, file, "grabDesktopImages");
}

// A text setting by its name, read as flagSetting reads a flag, its value without the blanks
// around it. NotSet leaves `value` alone; Forbidden (the last line is not spelled as the
// daemon reads it) empties it; Allowed sets it.
GrabSetting textSetting(const std::string& text, DaemonFile file, const char* name, std::string& value);

// The picture folder as the daemon reads it: "~/" at its start stands for `home`.
std::string expandedFolder(const std::string& folder, const char* home);

// The daemon's files are some tens of kilobytes; a larger one is not read.
const size_t maxDaemonFileBytes = 1 << 20;

// The daemon's settings about pictures; by default the grab is allowed and random images not.
struct DaemonImageSettings {
    bool grabAllowed = true;
    bool randomImages = false;
    std::string imageDirectory;  // "~/" expanded; empty: none
};

// Each setting from the user's file (~/.xscreensaver under `home`), else the system's
// defaults file. A file that is not a regular file of at most maxDaemonFileBytes (a FIFO, a
// device, a huge file) or cannot be read forbids the grab and random images, with one line
// on stderr.
DaemonImageSettings daemonImageSettings(const char* home, const char* systemDefaultsFile);
inline bool desktopGrabAllowed(const char* home, const char* systemDefaultsFile) {
    return daemonImageSettings(home, systemDefaultsFile).grabAllowed;
}
