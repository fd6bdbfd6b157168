#include "capture/wallpaper_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

WallpaperFit wallpaperFit(int wallpaperStyle, int tileWallpaper) {
    switch (wallpaperStyle) {
    case 0: return tileWallpaper == 1 ? WallpaperFit::Tile : WallpaperFit::Centre;
    case 2: return WallpaperFit::Stretch;
    case 6: return WallpaperFit::Fit;
    case 22: return WallpaperFit::Span;
    default: return WallpaperFit::Fill;
    }
}

// Start of `inner` centred in `outer`, the odd pixel going right or down as the desktop does.
static int32_t centredStart(int32_t outerStart, int32_t outerLength, int32_t innerLength) {
    const int64_t spare = int64_t(outerLength) - innerLength;
    return int32_t(outerStart + (spare >= 0 ? spare / 2 : -((-spare + 1) / 2)));
}

// The picture scaled to cover `box` (or to fit inside it), centred on it.
static ScreenArea scaledInto(const ScreenArea& box, int imageWidth, int imageHeight, bool cover) {
    const bool boxWider = int64_t(box.width) * imageHeight >= int64_t(box.height) * imageWidth;
    int64_t width = box.width, height = box.height;
    if (boxWider == cover)
        height = std::max<int64_t>(1, (int64_t(imageHeight) * box.width + imageWidth / 2) / imageWidth);
    else
        width = std::max<int64_t>(1, (int64_t(imageWidth) * box.height + imageHeight / 2) / imageHeight);
    return {centredStart(box.left, box.width, int32_t(width)), centredStart(box.top, box.height, int32_t(height)),
            int32_t(width), int32_t(height)};
}

ScreenArea wallpaperPlacement(WallpaperFit fit, int imageWidth, int imageHeight, const ScreenArea& monitor,
                              const ScreenArea& virtualScreen) {
    switch (fit) {
    case WallpaperFit::Centre:
        return {centredStart(monitor.left, monitor.width, imageWidth),
                centredStart(monitor.top, monitor.height, imageHeight), imageWidth, imageHeight};
    // Tiles are laid from the primary monitor's top-left corner, the screen's origin, on
    // over every monitor.
    case WallpaperFit::Tile: return {0, 0, imageWidth, imageHeight};
    case WallpaperFit::Stretch: return monitor;
    case WallpaperFit::Fit: return scaledInto(monitor, imageWidth, imageHeight, false);
    case WallpaperFit::Fill: return scaledInto(monitor, imageWidth, imageHeight, true);
    case WallpaperFit::Span: return scaledInto(virtualScreen, imageWidth, imageHeight, true);
    }
    return monitor;
}

bool parseBackgroundColour(const char* text, uint32_t& bgrx) {
    int red, green, blue, used = 0;
    if (!text || std::sscanf(text, " %d %d %d %n", &red, &green, &blue, &used) != 3 || text[used] != '\0')
        return false;
    for (int channel : {red, green, blue})
        if (channel < 0 || channel > 255) return false;
    bgrx = uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
    return bgrx != 0;
}

// Whether the two rectangles share a pixel.
static bool overlaps(const ScreenArea& a, const ScreenArea& b) {
    return int64_t(a.left) < int64_t(b.left) + b.width && int64_t(b.left) < int64_t(a.left) + a.width &&
           int64_t(a.top) < int64_t(b.top) + b.height && int64_t(b.top) < int64_t(a.top) + a.height;
}

// A decoded picture of a few megapixels is as fine as any texture shows it.
static const int64_t maxDecodedPixels = int64_t(1) << 24;

void wallpaperDecodeSize(const DesktopBackground& background, const ScreenArea& area, int width, int height,
                         int& decodedWidth, int& decodedHeight) {
    int64_t shownWidth = 1, shownHeight = 1;
    for (const ScreenArea& monitor : background.monitors) {
        if (!overlaps(monitor, area)) continue;
        const ScreenArea placed = wallpaperPlacement(background.fit, background.imageWidth, background.imageHeight,
                                                     monitor, background.virtualScreen);
        shownWidth = std::max<int64_t>(shownWidth, placed.width);
        shownHeight = std::max<int64_t>(shownHeight, placed.height);
    }
    // Squeezed into the picture, the wallpaper shrinks as the area does.
    if (width < area.width) shownWidth = (shownWidth * width + area.width - 1) / area.width;
    if (height < area.height) shownHeight = (shownHeight * height + area.height - 1) / area.height;
    int64_t w = std::max<int64_t>(1, std::min<int64_t>(background.imageWidth, shownWidth));
    int64_t h = std::max<int64_t>(1, std::min<int64_t>(background.imageHeight, shownHeight));
    if (w * h > maxDecodedPixels) {
        const double shrink = std::sqrt(double(maxDecodedPixels) / double(w * h));
        w = std::max<int64_t>(1, int64_t(double(w) * shrink));
        h = std::max<int64_t>(1, int64_t(double(h) * shrink));
    }
    decodedWidth = int(w), decodedHeight = int(h);
}

// Offset into a copy of length `length` starting at `start`, or -1 outside it; tiled copies
// repeat both ways.
static int64_t offsetInCopy(int64_t position, int64_t start, int64_t length, bool tiled) {
    const int64_t offset = position - start;
    if (tiled) return ((offset % length) + length) % length;
    return offset >= 0 && offset < length ? offset : -1;
}

// One monitor as the band drawing needs it: its columns within the area and, for each,
// the wallpaper column that shows there (-1: the background colour).
struct MonitorColumns {
    ScreenArea monitor, placed;
    int32_t first, count;  // columns of the area
    std::vector<int32_t> imageColumn;
};

static std::vector<MonitorColumns> monitorColumns(const DesktopBackground& background, const ScreenArea& area) {
    std::vector<MonitorColumns> drawn;
    const bool tiled = background.fit == WallpaperFit::Tile;
    for (const ScreenArea& monitor : background.monitors) {
        if (!overlaps(monitor, area)) continue;
        MonitorColumns m;
        m.monitor = monitor;
        m.placed = background.image.pixels ? wallpaperPlacement(background.fit, background.imageWidth,
                                                                background.imageHeight, monitor,
                                                                background.virtualScreen)
                                           : ScreenArea{0, 0, 0, 0};
        const int64_t left = std::max<int64_t>(monitor.left, area.left);
        const int64_t right = std::min<int64_t>(int64_t(monitor.left) + monitor.width, int64_t(area.left) + area.width);
        m.first = int32_t(left - area.left), m.count = int32_t(right - left);
        m.imageColumn.assign(size_t(m.count), -1);
        for (int32_t i = 0; m.placed.width > 0 && i < m.count; ++i) {
            const int64_t offset = offsetInCopy(left + i, m.placed.left, m.placed.width, tiled);
            if (offset >= 0) m.imageColumn[size_t(i)] = int32_t(offset * background.image.width / m.placed.width);
        }
        drawn.push_back(std::move(m));
    }
    return drawn;
}

static void drawRow(const DesktopBackground& background, const std::vector<MonitorColumns>& monitors,
                    int64_t screenY, uint32_t* row) {
    const bool tiled = background.fit == WallpaperFit::Tile;
    for (const MonitorColumns& m : monitors) {
        if (screenY < m.monitor.top || screenY >= int64_t(m.monitor.top) + m.monitor.height) continue;
        int64_t imageRow = -1;
        if (m.placed.height > 0) {
            const int64_t offset = offsetInCopy(screenY, m.placed.top, m.placed.height, tiled);
            if (offset >= 0) imageRow = offset * background.image.height / m.placed.height;
        }
        const uint8_t* source = imageRow >= 0 ? background.image.pixels + size_t(imageRow) * background.image.stride
                                              : nullptr;
        uint32_t* out = row + m.first;
        for (int32_t i = 0; i < m.count; ++i) {
            const int32_t column = m.imageColumn[size_t(i)];
            if (source && column >= 0)
                std::memcpy(&out[i], source + size_t(column) * 4, 4);
            else
                out[i] = background.colour;
        }
    }
}

// Rows of the area drawn a band at a time, as the capture copies them.
static const size_t bandBytes = size_t(1) << 20;

DesktopSnapshot backgroundSnapshot(const DesktopBackground& background, const ScreenArea& area, int width,
                                   int height) {
    const size_t bytes = snapshotBytes(width, height);
    if (bytes == 0 || area.width <= 0 || area.height <= 0) return {};
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytes));
    if (!pixels) return {};
    try {
        const std::vector<MonitorColumns> monitors = monitorColumns(background, area);
        const size_t rowPixels = size_t(area.width);
        const int bandRows = int(std::min(size_t(area.height), std::max(size_t(1), bandBytes / (rowPixels * 4))));
        std::vector<uint32_t> band(rowPixels * size_t(bandRows));
        BandSqueeze squeeze;
        if (!beginBandSqueeze(squeeze, area.width, area.height, width, height, pixels)) {
            std::free(pixels);
            return {};
        }
        for (int top = 0; top < area.height; top += bandRows) {
            const int rows = std::min(bandRows, area.height - top);
            std::fill(band.begin(), band.end(), 0u);
            for (int r = 0; r < rows; ++r)
                drawRow(background, monitors, int64_t(area.top) + top + r, &band[size_t(r) * rowPixels]);
            squeezeBand(squeeze, {reinterpret_cast<const uint8_t*>(band.data()), area.width, rows, rowPixels * 4},
                        top);
        }
    } catch (const std::bad_alloc&) {
        std::free(pixels);
        return {};
    }
    return {width, height, pixels};
}
