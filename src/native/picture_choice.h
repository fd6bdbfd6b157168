// Where the native saver's picture comes from, for both hosts, in the order it tries them:
// the logo when -useOGL 1 asks for it; else the desktop, when it may be shown; else a
// picture from the user's folder (-imageDirectory, or the daemon's "Choose random images");
// else the logo. Main thread, before the snapshot.
#pragma once
#include <cstdint>
#include <string>

#include "native/picture_file.h"
#include "xscreensaver/daemon_settings.h"
#include "xscreensaver/saver_options.h"

struct PictureSources {
    bool desktop = false;  // the host may take the desktop
    std::string folder;    // the folder to take a picture from when that gives none; empty: none
};

// The sources to try, given -useOGL, whether the daemon's grab rule governs the desktop (the
// daemon's own window on X11) and the daemon's picture settings.
PictureSources pictureSources(const SaverOptions& options, bool logoAsked, bool daemonGrabRules,
                              const DaemonImageSettings& daemon);

// The same with the daemon's settings read from its files ($HOME/.xscreensaver, then the
// system's defaults), read only when they decide something.
PictureSources nativePictureSources(const SaverOptions& options, bool daemonGrabRules);

// The picture fitted to a screen of screenWidth x screenHeight and made the snapshot, at the
// snapshot's size: whole, upright, its proportions kept, black beside or above and below it,
// each snapshot pixel the mean of the picture's pixels under it. False when it cannot be made.
bool fitPictureSnapshot(const DecodedPicture& picture, int screenWidth, int screenHeight, bool previewMode);

// The least side a picture for a snapshot need be decoded at: the snapshot's longer side.
int leastPictureSide(bool previewMode);

// A random picture from `folder` as the snapshot (image_folder.h), fitted as above; false,
// taking nothing, when the folder is empty (no source) or gives no picture.
bool folderSnapshot(const std::string& folder, int screenWidth, int screenHeight, bool previewMode);
