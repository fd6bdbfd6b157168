// A picture chosen at random from the user's picture folder and the folders below it, as
// the X11 screen-saver daemon's own image loader chooses one: files named as pictures,
// neither they nor their folders hidden, symbolic links followed (each folder once). Only
// what the native saver decodes is taken (PNG and JPEG); a file that does not decode is
// passed over for another. Main thread, at start-up.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "native/picture_file.h"

// How long the search and the decode may take together; then the logo.
const int folderSearchMs = 2000;
// A picture file larger than this is passed over unread.
const uint64_t maxPictureFileBytes = uint64_t(128) << 20;

// Whether a file's name says it is a picture the saver decodes: .png, .jpg, .jpeg, .pjpeg or
// .pjpg in any case, the daemon's own names for those kinds.
bool namedAsPicture(const char* name);

// The picture files under `folder`, depth first, in the order the folders list them; stops
// early (with what it found) when `giveUp` says so. Empty when `folder` is no folder that can
// be read (missing, a FIFO, a device, a file).
std::vector<std::string> pictureFiles(const std::string& folder, bool (*giveUp)());

// A picture from `folder`, the choice made by `seed`, within folderSearchMs and until an end
// is asked for, decoded no smaller than `leastSide` on each side where it can be decoded
// smaller (decodePicture); false, with one line on stderr, when none could be had.
bool randomFolderPicture(const std::string& folder, uint32_t seed, int leastSide, DecodedPicture& picture);
