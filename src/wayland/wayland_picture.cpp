#include "wayland/wayland_picture.h"

#include <algorithm>
#include <random>

#include "capture/picture_squeeze.h"
#include "native/image_folder.h"
#include "native/picture_choice.h"
#include "wayland/desktop_picture.h"

uint64_t desktopPixelBound(const WaylandConnection& connection) {
    const ScreenArea layout = desktopLayout(connection);
    uint64_t scale = 1;
    for (const WaylandOutput& output : connection.outputs) scale = std::max(scale, uint64_t(std::max(output.scale, 1)));
    const uint64_t pixels = uint64_t(std::max(layout.width, 0)) * uint64_t(std::max(layout.height, 0)) * scale * scale;
    return std::min(pixels, maxPicturePixels);
}

bool takeWaylandPicture(const WaylandConnection& connection, const PictureSources& sources, WaylandPicture& picture) {
    picture.wholeDesktop = sources.desktop && takeDesktopPicture(desktopPixelBound(connection), picture.picture);
    // A compositor that hands out black screenshots shows nothing: the folder then.
    const DecodedPicture& whole = picture.picture;
    if (picture.wholeDesktop && !isAllBlack({whole.pixels.data(), whole.width, whole.height, size_t(whole.width) * 4}))
        return true;
    picture.wholeDesktop = false;
    return !sources.folder.empty() &&
           randomFolderPicture(sources.folder, std::random_device()(), leastPictureSide(false), picture.picture);
}

bool snapshotForArea(const WaylandPicture& picture, const ScreenArea& layout, const ScreenArea* area) {
    if (picture.wholeDesktop) return area && snapshotOutput(picture.picture, layout, *area);
    const ScreenArea shown = area ? *area : ScreenArea{0, 0, picture.picture.width, picture.picture.height};
    return fitPictureSnapshot(picture.picture, shown.width, shown.height, false);
}
