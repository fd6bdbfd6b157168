#include "native/picture_choice.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "capture/desktop_snapshot.h"
#include "native/image_folder.h"
#include "settings/saver_settings.h"

namespace {

// The source pixels [first, end) that each of `dest` pixels averages, along one axis.
std::vector<int> spanStarts(int source, int dest) {
    std::vector<int> starts(size_t(dest) + 1);
    for (int i = 0; i <= dest; ++i) starts[size_t(i)] = int(int64_t(i) * source / dest);
    return starts;
}

// The stored pixel that shows at (x, y) of the upright picture (EXIF orientations 1..8).
const uint8_t* shownPixel(const DecodedPicture& picture, int x, int y) {
    const int w = picture.width, h = picture.height;
    int sx = x, sy = y;
    switch (picture.orientation) {
    case 2: sx = w - 1 - x; break;                     // mirrored
    case 3: sx = w - 1 - x, sy = h - 1 - y; break;     // upside down
    case 4: sy = h - 1 - y; break;                     // mirrored upside down
    case 5: sx = y, sy = x; break;                     // on its side, mirrored
    case 6: sx = y, sy = h - 1 - x; break;             // to be turned clockwise
    case 7: sx = w - 1 - y, sy = h - 1 - x; break;     // the other side, mirrored
    case 8: sx = w - 1 - y, sy = x; break;             // to be turned anticlockwise
    }
    return picture.pixels.data() + (size_t(sy) * size_t(w) + size_t(sx)) * 4;
}

// `picture`, upright, averaged into the width x height area at `to` of a snapshot `stride`
// bytes wide.
void averageInto(const DecodedPicture& picture, int shownWidth, int shownHeight, int width, int height, uint8_t* to,
                 size_t stride) {
    const std::vector<int> columns = spanStarts(shownWidth, width), rows = spanStarts(shownHeight, height);
    std::vector<uint64_t> sums(size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int top = rows[size_t(y)], bottom = std::max(top + 1, rows[size_t(y) + 1]);
        for (int sy = top; sy < bottom; ++sy)
            for (int x = 0; x < width; ++x) {
                const int left = columns[size_t(x)], right = std::max(left + 1, columns[size_t(x) + 1]);
                for (int sx = left; sx < right; ++sx) {
                    const uint8_t* pixel = shownPixel(picture, sx, sy);
                    for (int c = 0; c < 3; ++c) sums[size_t(x) * 3 + size_t(c)] += pixel[c];
                }
            }
        uint8_t* out = to + size_t(y) * stride;
        for (int x = 0; x < width; ++x) {
            const int left = columns[size_t(x)], right = std::max(left + 1, columns[size_t(x) + 1]);
            const uint64_t count = uint64_t(right - left) * uint64_t(bottom - top);
            for (int c = 0; c < 3; ++c) out[size_t(x) * 3 + size_t(c)] = uint8_t(sums[size_t(x) * 3 + size_t(c)] / count);
        }
    }
}

}  // namespace

PictureSources pictureSources(const SaverOptions& options, bool logoAsked, bool daemonGrabRules,
                              const DaemonImageSettings& daemon) {
    PictureSources sources;
    if (logoAsked) return sources;
    sources.desktop = !daemonGrabRules || daemon.grabAllowed;
    if (!options.imageDirectory.empty())
        sources.folder = options.imageDirectory;
    else if (daemon.randomImages)
        sources.folder = daemon.imageDirectory;
    return sources;
}

PictureSources nativePictureSources(const SaverOptions& options, bool daemonGrabRules) {
    const bool logoAsked = saverSettings.useOGL != 0;
    // The daemon's files are read only when they decide something.
    DaemonImageSettings daemon;
    if (!logoAsked && (daemonGrabRules || options.imageDirectory.empty()))
        daemon = daemonImageSettings(std::getenv("HOME"), "/etc/X11/app-defaults/XScreenSaver");
    return pictureSources(options, logoAsked, daemonGrabRules, daemon);
}

bool fitPictureSnapshot(const DecodedPicture& picture, int screenWidth, int screenHeight, bool previewMode) {
    int width, height;
    snapshotSize(previewMode, width, height);
    const size_t bytes = snapshotBytes(width, height);
    if (bytes == 0 || picture.width <= 0 || picture.height <= 0 || screenWidth <= 0 || screenHeight <= 0) return false;
    const bool turned = picture.orientation >= 5 && picture.orientation <= 8;
    const int uprightWidth = turned ? picture.height : picture.width, uprightHeight = turned ? picture.width : picture.height;
    // The share of the screen's width and height that the picture takes.
    const double wider = (double(uprightWidth) * screenHeight) / (double(uprightHeight) * screenWidth);
    const int shownWidth = std::max(1, int(width * std::min(1.0, wider) + 0.5));
    const int shownHeight = std::max(1, int(height * std::min(1.0, 1 / wider) + 0.5));
    uint8_t* pixels = static_cast<uint8_t*>(std::calloc(bytes, 1));
    if (!pixels) return false;
    const size_t stride = size_t(width) * 3;
    uint8_t* corner = pixels + size_t((height - shownHeight) / 2) * stride + size_t((width - shownWidth) / 2) * 3;
    averageInto(picture, uprightWidth, uprightHeight, shownWidth, shownHeight, corner, stride);
    std::free(desktopSnapshot.pixels);
    desktopSnapshot = {width, height, pixels};
    return true;
}

int leastPictureSide(bool previewMode) {
    int width, height;
    snapshotSize(previewMode, width, height);
    return std::max(width, height);
}

bool folderSnapshot(const std::string& folder, int screenWidth, int screenHeight, bool previewMode) {
    DecodedPicture picture;
    return !folder.empty() && randomFolderPicture(folder, std::random_device()(), leastPictureSide(previewMode), picture) &&
           fitPictureSnapshot(picture, screenWidth, screenHeight, previewMode);
}
