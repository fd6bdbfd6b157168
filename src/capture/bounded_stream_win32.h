// A file as a COM stream whose reads stop at a deadline: a decoder that reads the file as
// it decodes (WIC's, Wine's) then fails there, and so gives up in time whatever the file.
// Main thread, while the wallpaper is decoded.
#pragma once
#include <windows.h>
#include <objidl.h>

#include "capture/wallpaper_win32.h"

// The file open for reading, each read failing once GetTickCount passes bound.deadline or
// bound.giveUp says so; null when it cannot be opened. The caller releases it.
IStream* openBoundedStream(const wchar_t* path, const WallpaperBound& bound);
