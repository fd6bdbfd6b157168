// The desktop background as the user laid it out: where the wallpaper lands on each
// monitor for each style, the colours drawn around it, the size it is decoded at, and the
// squeeze into the texture band by band.
#include "capture/wallpaper_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace {

bool same(const ScreenArea& a, const ScreenArea& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

const uint32_t red = 0xff0000, green = 0x00ff00, blue = 0x0000ff, white = 0xffffff, grey = 0x808080;

// The background of `area` at its own size, as 32-bit pixels (the squeeze is then a copy).
std::vector<uint32_t> drawn(const DesktopBackground& background, const ScreenArea& area) {
    DesktopSnapshot s = backgroundSnapshot(background, area, area.width, area.height);
    std::vector<uint32_t> pixels;
    for (int i = 0; s.pixels && i < area.width * area.height; ++i)
        pixels.push_back(uint32_t(s.pixels[3 * i]) | uint32_t(s.pixels[3 * i + 1]) << 8 |
                         uint32_t(s.pixels[3 * i + 2]) << 16);
    std::free(s.pixels);
    return pixels;
}

}  // namespace

TEST(WallpaperLayout, EachStyleLandsAsTheDesktopDrawsIt) {
    // A 2:1 picture on a 16:9 primary monitor and a 5:4 one to its right.
    const ScreenArea primary = {0, 0, 1920, 1080}, second = {1920, 0, 1280, 1024}, all = {0, 0, 3200, 1080};
    struct Case { int style, tile; ScreenArea monitor, expected; };
    const Case cases[] = {
        {10, 0, primary, {-120, 0, 2160, 1080}},  // fill: covers, cropped left and right
        {6, 0, primary, {0, 60, 1920, 960}},      // fit: bars above and below
        {6, 0, {0, 0, 400, 1000}, {0, 400, 400, 200}},
        {2, 0, second, second},                   // stretch
        {0, 1, second, {0, 0, 1000, 500}},        // tile, from the primary monitor's corner
        {0, 0, primary, {460, 290, 1000, 500}},   // centre, at its own size
        {0, 0, {0, 0, 999, 499}, {-1, -1, 1000, 500}},
        {22, 0, primary, {0, -260, 3200, 1600}},  // span: one picture over both
        {22, 0, second, {0, -260, 3200, 1600}},
        {10, 1, primary, {-120, 0, 2160, 1080}},  // tiling applies to the centred style only
        {7, 0, primary, {-120, 0, 2160, 1080}},   // unknown: the default, fill
    };
    for (const Case& c : cases) {
        const ScreenArea placed = wallpaperPlacement(wallpaperFit(c.style, c.tile), 1000, 500, c.monitor, all);
        EXPECT_TRUE(same(placed, c.expected)) << "style " << c.style << " tile " << c.tile << ": " << placed.left << ","
                                              << placed.top << " " << placed.width << "x" << placed.height;
    }
}

TEST(WallpaperLayout, ColourTextAndDesktopNames) {
    uint32_t colour = 0;
    EXPECT_TRUE(parseBackgroundColour(" 58 110 165 ", colour));
    EXPECT_EQ(colour, 0x3a6ea5u);
    for (const char* bad : {"0 0 0", "256 0 0", "-1 5 5", "1 2", "1 2 3 4", "", "1,2,3"})
        EXPECT_FALSE(parseBackgroundColour(bad, colour)) << bad;
    EXPECT_TRUE(isUsersDesktopName("DEFAULT"));
    for (const char* other : {"Screen-saver", "Winlogon", "Defaults", "Defaul"})
        EXPECT_FALSE(isUsersDesktopName(other)) << other;
}

TEST(WallpaperLayout, PictureColourAndGapsDrawnOnEachMonitor) {
    const uint32_t image[] = {red, green, blue, white, red, green};  // 3 x 2
    DesktopBackground b = {};
    b.monitors = {{-8, 0, 8, 4}, {2, 0, 8, 4}};  // a gap of two columns between them
    b.virtualScreen = {-8, 0, 18, 4};
    b.imageWidth = 3, b.imageHeight = 2;
    b.image = {reinterpret_cast<const uint8_t*>(image), 3, 2, 12};
    b.colour = grey;
    const ScreenArea area = {-8, 0, 18, 4};
    struct Pixel { int x, y; uint32_t rgb; };
    const struct {
        WallpaperFit fit;
        bool picture;
        std::vector<Pixel> expected;
    } cases[] = {
        // Tiles run on left of the primary monitor's corner and on over the gap, as one
        // pattern; no monitor there: black, as a copy of the screen.
        {WallpaperFit::Tile, true,
         {{-6, 0, red}, {-8, 0, green}, {-6, 3, white}, {2, 1, green}, {3, 0, red}, {0, 0, 0}, {1, 3, 0}}},
        // 3 x 2 in 8 x 4: 6 x 4, a column of colour each side.
        {WallpaperFit::Fit, true, {{-8, 0, grey}, {-7, 0, red}, {-2, 3, green}, {-1, 3, grey}}},
        // One picture over 18 x 4: 18 x 12, its middle third shows.
        {WallpaperFit::Span, true, {{-8, 0, red}, {9, 0, blue}, {9, 3, green}}},
        {WallpaperFit::Span, false, {{-3, 2, grey}, {9, 3, grey}, {1, 0, 0}}},  // no wallpaper: the colour alone
    };
    const uint8_t* pixels = b.image.pixels;
    for (const auto& c : cases) {
        b.fit = c.fit, b.image.pixels = c.picture ? pixels : nullptr;
        const std::vector<uint32_t> p = drawn(b, area);
        for (const Pixel& e : c.expected)
            EXPECT_EQ(p.at(size_t(e.y * 18 + e.x + 8)), e.rgb) << int(c.fit) << " at " << e.x << "," << e.y;
    }
}

TEST(WallpaperLayout, BandsSqueezeToTheSameBytesAsTheWholePicture) {
    // Tall enough for several bands, squeezed to odd sizes and stretched.
    std::vector<uint32_t> image(37 * 23);
    for (size_t i = 0; i < image.size(); ++i) image[i] = uint32_t(i * 2654435761u) & 0xffffff;
    DesktopBackground b = {};
    b.monitors = {{0, 0, 900, 1300}, {900, 200, 700, 1100}};
    b.virtualScreen = {0, 0, 1600, 1300};
    b.fit = WallpaperFit::Fill;
    b.imageWidth = 37, b.imageHeight = 23;
    b.image = {reinterpret_cast<const uint8_t*>(image.data()), 37, 23, 37 * 4};
    b.colour = grey;
    const ScreenArea area = {0, 0, 1600, 1300};
    std::vector<uint32_t> whole = drawn(b, area);
    ASSERT_EQ(whole.size(), size_t(1600 * 1300));
    const BgrxPicture picture = {reinterpret_cast<const uint8_t*>(whole.data()), 1600, 1300, 1600 * 4};
    for (auto size : {std::pair<int, int>{512, 256}, {333, 97}, {2048, 2048}}) {
        DesktopSnapshot banded = backgroundSnapshot(b, area, size.first, size.second);
        std::vector<uint8_t> expected(size_t(size.first) * size.second * 3);
        ASSERT_TRUE(squeezePicture(picture, size.first, size.second, expected.data()));
        ASSERT_NE(banded.pixels, nullptr);
        EXPECT_EQ(std::vector<uint8_t>(banded.pixels, banded.pixels + expected.size()), expected)
            << size.first << "x" << size.second;
        std::free(banded.pixels);
    }
    EXPECT_EQ(backgroundSnapshot(b, area, 8193, 1).pixels, nullptr);
    EXPECT_EQ(backgroundSnapshot(b, {0, 0, 0, 10}, 16, 16).pixels, nullptr);
}

TEST(WallpaperLayout, DecodedNoLargerThanTheTextureShowsNorThanABoundedBuffer) {
    DesktopBackground b = {};
    b.monitors = {{0, 0, 7680, 4320}};
    b.virtualScreen = b.monitors[0];
    b.fit = WallpaperFit::Fill;
    b.imageWidth = 7680, b.imageHeight = 4320;
    const ScreenArea area = b.monitors[0];
    auto decoded = [&](int textureWidth, int textureHeight) {
        int width, height;
        wallpaperDecodeSize(b, area, textureWidth, textureHeight, width, height);
        return std::pair<int, int>(width, height);
    };
    EXPECT_EQ(decoded(512, 256), std::make_pair(512, 256));
    const std::pair<int, int> bounded = decoded(8192, 8192);  // the texture outgrows the screen
    EXPECT_LE(int64_t(bounded.first) * bounded.second, int64_t(1) << 24);
    EXPECT_NEAR(double(bounded.first) / bounded.second, 7680.0 / 4320.0, 0.01);
    b.imageWidth = 100, b.imageHeight = 50;  // a small picture keeps its own pixels
    EXPECT_EQ(decoded(2048, 2048), std::make_pair(100, 50));
    b.fit = WallpaperFit::Centre;  // at its own size a picture shows no more than it has
    b.imageWidth = 4000, b.imageHeight = 3000;
    EXPECT_EQ(decoded(768, 432), std::make_pair(400, 300));
}
