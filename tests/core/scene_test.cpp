// Whole frames drawn offscreen: where the plane lands, which way the picture
// faces, the colours it is lit in, and the first two Explode frames.
#include "capture/desktop_snapshot.h"
#include "effects/geometry.h"
#include "effects/wave_grid.h"
#include "render/frame.h"
#include "render/scene.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "osmesa_fixture.h"

namespace {

// A snapshot whose top half is red and bottom half green, blue, green, red byte order.
void fakeSnapshot(int width, int height) {
    desktopSnapshot = {width, height, static_cast<uint8_t*>(std::malloc(size_t(width) * height * 3))};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = desktopSnapshot.pixels + (size_t(y) * width + x) * 3;
            const bool top = y < height / 2;
            p[0] = 0, p[1] = top ? 0 : 255, p[2] = top ? 255 : 0;
        }
}

struct SceneTest : testing::Test {
    OffscreenGL gl{400, 300};
    void SetUp() override {
        SettingsStore::applyDefaults();
        saverSettings.enableMovement = 0;
        waveCenter[0] = 512, waveCenter[1] = 384;
    }
    void TearDown() override {
        std::free(desktopSnapshot.pixels);
        desktopSnapshot = {};
        SettingsStore::applyDefaults();
    }
    // Extent of the non-black run through the middle row and column, as fractions.
    void coverage(float& across, float& down, int& left, int& top) {
        left = -1, top = -1;
        int right = -1, bottom = -1;
        for (int x = 0; x < gl.width; ++x)
            if (!gl.isBlack(x, gl.height / 2)) right = x, left = left < 0 ? x : left;
        for (int y = 0; y < gl.height; ++y)
            if (!gl.isBlack(gl.width / 2, y)) bottom = y, top = top < 0 ? y : top;
        across = float(right - left + 1) / gl.width;
        down = float(bottom - top + 1) / gl.height;
    }
};

}  // namespace

TEST_F(SceneTest, FirstExplodeFrameIsEmptyAndTheSecondShowsTheWholePlaneCentred) {
    fakeSnapshot(8, 8);
    prepareScene();
    uploadSnapshotTexture();
    EXPECT_EQ(desktopSnapshot.pixels, nullptr);  // handed over to the texture
    drawFrame();
    float across, down;
    int left, top;
    coverage(across, down, left, top);
    EXPECT_EQ(left, -1);
    drawFrame();
    coverage(across, down, left, top);
    EXPECT_NEAR(across, 0.741f, 0.01f);
    EXPECT_NEAR(down, 0.739f, 0.01f);
    EXPECT_NEAR(left, (gl.width - across * gl.width) / 2, 2);
    EXPECT_NEAR(top, (gl.height - down * gl.height) / 2, 2);
}

TEST_F(SceneTest, PictureStandsUprightAndIsLitWhite) {
    fakeSnapshot(16, 16);
    saverSettings.Mode = Wave1;
    saverSettings.xyAmplitude = 0;  // a flat grid
    prepareScene();
    uploadSnapshotTexture();
    drawFrame();
    OffscreenGL::Rgb upper = gl.at(gl.width / 2, gl.height / 2 - 60);
    OffscreenGL::Rgb lower = gl.at(gl.width / 2, gl.height / 2 + 60);
    // The top of the snapshot is at the top, and red stays red: no blue from the material.
    EXPECT_GT(upper.r, 150);
    EXPECT_LT(upper.g + upper.b, 40);
    EXPECT_GT(lower.g, 150);
    EXPECT_LT(lower.r + lower.b, 40);
}

TEST_F(SceneTest, WithoutASnapshotTheSceneIsDrawnInItsLitWhiteMaterial) {
    saverSettings.Mode = Wave3;
    saverSettings.xyAmplitude = 0;
    prepareScene();
    uploadSnapshotTexture();  // nothing to upload: no crash, a bare texture
    drawFrame();
    OffscreenGL::Rgb centre = gl.at(gl.width / 2, gl.height / 2);
    EXPECT_GT(centre.r, 150);
    EXPECT_EQ(centre.r, centre.b);
    EXPECT_EQ(centre.g, centre.b);
}

TEST_F(SceneTest, OddSnapshotWidthsUploadRowByRow) {
    fakeSnapshot(301, 7);  // 903-byte rows: not a multiple of 4
    saverSettings.Mode = Wave1;
    saverSettings.xyAmplitude = 0;
    prepareScene();
    uploadSnapshotTexture();
    drawFrame();
    OffscreenGL::Rgb lower = gl.at(gl.width / 2, gl.height / 2 + 60);
    EXPECT_GT(lower.g, 150);
    EXPECT_LT(lower.r, 40);
}
