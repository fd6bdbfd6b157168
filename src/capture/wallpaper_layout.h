// The user's desktop background drawn as the desktop shows it: the wallpaper laid out on
// each monitor the way the user chose, over the background colour. It stands in for the
// desktop when a copy of the screen holds nothing (the secure desktop of a locked PC, a
// blank capture), and never holds a window. Portable; the Windows edge reads the settings
// and decodes the picture. Any thread.
#pragma once
#include <cstdint>
#include <vector>

#include "capture/desktop_snapshot.h"

enum class WallpaperFit { Centre, Tile, Stretch, Fit, Fill, Span };

// The layout from the desktop's WallpaperStyle and TileWallpaper values; a style this
// does not know is laid out as the current default, Fill.
WallpaperFit wallpaperFit(int wallpaperStyle, int tileWallpaper);

// Where one whole copy of an imageWidth x imageHeight picture lands for `monitor` (when
// tiled, the tile at the primary monitor's corner; Span lays one picture over the whole
// virtual screen). It may run past the monitor, which crops it.
ScreenArea wallpaperPlacement(WallpaperFit fit, int imageWidth, int imageHeight, const ScreenArea& monitor,
                              const ScreenArea& virtualScreen);

// "R G B" as the Colors key holds it, as a 32-bit blue, green, red, unused pixel. False when
// the text is not three numbers of 0 to 255, or names black: nothing worth showing.
bool parseBackgroundColour(const char* text, uint32_t& bgrx);

struct DesktopBackground {
    std::vector<ScreenArea> monitors;
    ScreenArea virtualScreen;
    WallpaperFit fit;
    int imageWidth, imageHeight;  // the wallpaper's own size; 0 without one
    BgrxPicture image;            // decoded at wallpaperDecodeSize; pixels null without one
    uint32_t colour;              // around and under the wallpaper
};

// No more pixels of the wallpaper than `area` shows of it in a width x height picture, nor
// than it has, nor than a bounded buffer holds: a 7680 x 4320 desktop needs no 130 MB copy.
void wallpaperDecodeSize(const DesktopBackground& background, const ScreenArea& area, int width, int height,
                         int& decodedWidth, int& decodedHeight);

// The background picture of `area` (outside every monitor black, as a copy of the screen
// shows it), drawn a band of rows at a time and squeezed as a capture is into a width x
// height snapshot; an empty snapshot when the size cannot be held.
DesktopSnapshot backgroundSnapshot(const DesktopBackground& background, const ScreenArea& area, int width,
                                   int height);
