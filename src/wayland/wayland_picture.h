// The picture the Wayland saver shows, taken once before any window shows: grim's picture of the whole desktop, of which each output shows
// its part; else a picture from the user's folder, which each output shows whole; else
// none (the logo). Main thread.
#pragma once
#include "native/picture_choice.h"
#include "native/picture_file.h"
#include "wayland/wayland_connection.h"

struct WaylandPicture {
    DecodedPicture picture;
    bool wholeDesktop = false;  // grim's, laid out as the outputs are
};

// The most pixels grim's picture of the outputs can hold: their layout at the largest scale.
uint64_t desktopPixelBound(const WaylandConnection& connection);

// Takes the picture from the sources given; false when there is none to show.
bool takeWaylandPicture(const WaylandConnection& connection, const PictureSources& sources, WaylandPicture& picture);

// Into desktopSnapshot, what `area` of the desktop (null: an output of unknown place) shows
// of the picture, grim's showing `layout`; false when it shows nothing (the logo then).
bool snapshotForArea(const WaylandPicture& picture, const ScreenArea& layout, const ScreenArea* area);
