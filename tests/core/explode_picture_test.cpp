// Whole Explode frames at fixed times against pictures kept as test data: how the boxes
// reach the GL may change, what they look like may not. QG_PICTURES_OUT=DIR also writes
// each frame there as PNG, to look at or to make new references from.
#include "capture/desktop_snapshot.h"
#include "effects/explode.h"
#include "effects/random.h"
#include "render/frame.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "osmesa_fixture.h"

namespace {

const int width = 256, height = 192;

// A desktop of 10 x 8 cells, each lit red toward its right and green toward its top and
// blue in every other cell, so a piece of it turned or mirrored on a box shows.
void cellSnapshot() {
    const int w = 160, h = 96;
    desktopSnapshot = {w, h, static_cast<uint8_t*>(std::malloc(size_t(w) * h * 3))};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = desktopSnapshot.pixels + (size_t(y) * w + x) * 3;
            p[0] = ((x / 16 + y / 12) % 2) * 200;
            p[1] = uint8_t(255 - (y % 12) * 21);
            p[2] = uint8_t((x % 16) * 16);
        }
}

// The frame as RGB rows from the top.
std::vector<uint8_t> framePixels(const OffscreenGL& gl) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const OffscreenGL::Rgb c = gl.at(x, y);
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(c.r), p[1] = uint8_t(c.g), p[2] = uint8_t(c.b);
        }
    return rgb;
}

bool readPng(const std::string& path, std::vector<uint8_t>& rgb) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) && image.width == unsigned(width) &&
           image.height == unsigned(height);
}

void writePng(const std::string& path, const std::vector<uint8_t>& rgb) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = width, image.height = height, image.format = PNG_FORMAT_RGB;
    png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
}

// Pixels where a channel differs by more than a tenth of its range.
long differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    long count = 0;
    for (size_t i = 0; i + 2 < a.size(); i += 3) {
        bool differs = false;
        for (size_t c = i; c < i + 3; ++c) differs |= std::abs(int(a[c]) - int(b[c])) * 10 > 255;
        count += differs;
    }
    return count;
}

long litPixels(const std::vector<uint8_t>& rgb) {
    long count = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) count += rgb[i] + rgb[i + 1] + rgb[i + 2] > 30;
    return count;
}

}  // namespace

TEST(ExplodePicture, FramesMatchTheReferencePictures) {
    const std::string data = std::string(QG_SOURCE_DIR) + "/tests/core/data/explode/";
    const char* out = std::getenv("QG_PICTURES_OUT");
    const struct {
        int children, movement;
        std::vector<int> frames;  // which frames to compare, counted from 1
    } runs[] = {{0, 0, {2, 60, 250}}, {2, 0, {100, 180}}, {8, 0, {180, 330}},
                {0, 1, {60}},         {2, 1, {100, 180}}, {8, 1, {330}}};
    for (const auto& run : runs) {
        OffscreenGL gl(width, height);  // a fresh context each, as a saver start has
        SettingsStore::applyDefaults();
        saverSettings.x_div = 10, saverSettings.y_div = 8;
        saverSettings.genChildren = run.children;
        saverSettings.enableMovement = run.movement;
        seedRandom(7);
        cellSnapshot();
        prepareScene();
        uploadSnapshotTexture();
        for (int frame = 1; frame <= run.frames.back(); ++frame) {
            drawFrameAfter(1 / 30.0f);
            if (std::find(run.frames.begin(), run.frames.end(), frame) == run.frames.end()) continue;
            const std::string name = "children" + std::to_string(run.children) + "-movement" +
                                     std::to_string(run.movement) + "-frame" + std::to_string(frame) + ".png";
            const std::vector<uint8_t> drawn = framePixels(gl);
            if (out) writePng(std::string(out) + "/" + name, drawn);
            std::vector<uint8_t> reference;
            if (!readPng(data + name, reference)) {
                ADD_FAILURE() << "no reference picture " << name;
                continue;
            }
            EXPECT_GT(litPixels(reference), width * height / 20) << name << " is nearly black";
            EXPECT_LE(differingPixels(drawn, reference), width * height / 200) << name;
        }
    }
    clearFragments();
    SettingsStore::applyDefaults();
}
