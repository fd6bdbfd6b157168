#include "effects/wave_grid.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cmath>

#include "osmesa_fixture.h"

namespace {

struct WaveGridTest : testing::Test {
    void SetUp() override {
        SettingsStore::applyDefaults();
        waveCenter[0] = 512, waveCenter[1] = 384;
    }
    void TearDown() override {
        SettingsStore::applyDefaults();
        WaveGrid::build();
    }
    static const Float3& vertex(int i, int j) { return waveGrid.positions[j * waveGrid.columns + i]; }
};

}  // namespace

TEST_F(WaveGridTest, DefaultGridStopsOneStepShortOfThePlaneAndStandsUpright) {
    WaveGrid::build();
    ASSERT_EQ(waveGrid.columns * waveGrid.rows, 475);
    const Float3& last = vertex(24, 18);
    EXPECT_NEAR(last.x, 983.04f, 1e-3);
    EXPECT_NEAR(last.y, 727.58f, 1e-2);
    EXPECT_EQ(waveGrid.texCoords[0].y, 1.0f);                  // bottom row shows the bottom
    EXPECT_NEAR(waveGrid.texCoords[18 * 25].y, 1 - 18 / 19.0f, 1e-6);
    EXPECT_NEAR(waveGrid.texCoords[24].x, 24 / 25.0f, 1e-6);
}

TEST_F(WaveGridTest, FlatGridNormalsFaceTheViewerExceptTheLastRowAndColumn) {
    WaveGrid::build();
    WaveGrid::computeNormals();
    for (int j = 0; j < waveGrid.rows; ++j)
        for (int i = 0; i < waveGrid.columns; ++i) {
            const bool edge = i == waveGrid.columns - 1 || j == waveGrid.rows - 1;
            const Float3& face = waveGrid.faceNormals[j * waveGrid.columns + i];
            const Float3& smooth = waveGrid.smoothNormals[j * waveGrid.columns + i];
            ASSERT_FLOAT_EQ(face.z, edge ? 0.0f : 1.0f) << i << "," << j;
            ASSERT_EQ(face.x, 0.0f);
            // Cells next to the last row or column average in the zero entries.
            const bool nearEdge = i >= waveGrid.columns - 2 || j >= waveGrid.rows - 2;
            if (edge) {
                ASSERT_EQ(smooth.z, 0.0f);
            } else if (!nearEdge) {
                ASSERT_FLOAT_EQ(smooth.z, 1.0f) << i << "," << j;
            }
        }
    EXPECT_FLOAT_EQ(waveGrid.smoothNormals[17 * 25 + 23].z, 0.25f);  // one of four cells is real
}

TEST_F(WaveGridTest, HeightFunctionsAtChosenPoints) {
    saverSettings.xyAmplitude = 10, saverSettings.xyFrequency1 = 10, saverSettings.xyFrequency2 = 20;
    saverSettings.xySizeX = 60, saverSettings.xySizeY = 30;
    float z;
    ASSERT_TRUE(waveHeight(1, 100, -50, 100, z));  // t = 1 s
    EXPECT_NEAR(z, 10 * (std::cos(-50 * 30 * 0.0001f + 5.0f) + std::cos(100 * 60 * 0.0001f + 2.5f)), 1e-4);
    ASSERT_TRUE(waveHeight(2, 1, 2, 0, z));
    EXPECT_NEAR(z, 10 * std::sin(2.0f) * std::sin(1.0f), 1e-5);
    ASSERT_TRUE(waveHeight(3, 100, 200, 40, z));
    EXPECT_NEAR(z, 10 * std::sin(60 * 0.01f + 30 * 0.04f + 1.0f), 1e-5);
    ASSERT_TRUE(waveHeight(4, 100, 200, 40, z));
    EXPECT_NEAR(z, 30 * std::cos(0.25f * (60 * 0.01f + 30 * 0.08f) + 1.0f), 1e-4);
    for (int mode : {0, 5, -1, 99}) EXPECT_FALSE(waveHeight(mode, 1, 2, 3, z)) << mode;
}

TEST_F(WaveGridTest, SizesChangeWave1And3ButNotWave2AndFrequency2OnlyWave1And2) {
    float base[5], sized[5], freq[5];
    for (int mode = 1; mode <= 4; ++mode) waveHeight(mode, 130, -70, 37, base[mode]);
    saverSettings.xySizeX = 17, saverSettings.xySizeY = 91;
    for (int mode = 1; mode <= 4; ++mode) waveHeight(mode, 130, -70, 37, sized[mode]);
    saverSettings.xyFrequency2 = 3;
    for (int mode = 1; mode <= 4; ++mode) waveHeight(mode, 130, -70, 37, freq[mode]);
    EXPECT_EQ(base[2], sized[2]);
    EXPECT_NE(base[1], sized[1]);
    EXPECT_NE(base[3], sized[3]);
    EXPECT_EQ(sized[3], freq[3]);
    EXPECT_EQ(sized[4], freq[4]);
    EXPECT_NE(sized[2], freq[2]);
}

TEST_F(WaveGridTest, UpdateUsesThePlaneCentreAndAModeWithoutWaveStaysFlat) {
    saverSettings.Mode = 3;
    WaveGrid::build();
    WaveGrid::updateHeights(0.5f);
    float z;
    const Float3& p = vertex(3, 7);
    waveHeight(3, p.x - 512, p.y - 384, 50, z);
    EXPECT_EQ(p.z, z);
    saverSettings.Mode = 5;
    WaveGrid::build();
    WaveGrid::updateHeights(3.0f);
    for (int k = 0; k < waveGrid.columns * waveGrid.rows; ++k) ASSERT_EQ(waveGrid.positions[k].z, 0.0f);
}

TEST_F(WaveGridTest, DegenerateAndHugeSizesBuildNoGridAndDrawNothing) {
    OffscreenGL gl(16, 16);
    const float sizes[][2] = {{0, 19}, {25, 0}, {-3, -4}, {0.5f, 10}, {2e9f, 2e9f}, {1e6f, 2e3f}, {NAN, 5}};
    for (auto size : sizes) {
        saverSettings.x_div = size[0], saverSettings.y_div = size[1];
        WaveGrid::build();
        EXPECT_EQ(waveGrid.columns * waveGrid.rows, 0) << size[0] << "x" << size[1];
        WaveGrid::updateHeights(1);
        WaveGrid::draw();
    }
    saverSettings.x_div = 1, saverSettings.y_div = 19;  // one column: heights but no quads
    saverSettings.Mode = 1;
    WaveGrid::build();
    EXPECT_EQ(waveGrid.rows, 19);
    WaveGrid::updateHeights(1);
    WaveGrid::draw();
    EXPECT_NE(waveGrid.positions[0].z, 0.0f);
}

TEST_F(WaveGridTest, DrawnGridFacesTheViewerWithThePictureUpright) {
    OffscreenGL gl(64, 48);
    saverSettings.x_div = 2, saverSettings.y_div = 2;  // one quad: half the plane each way
    WaveGrid::build();
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 512, 0, 384, -10, 10);  // exactly the one quad
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    quadrantTexture();
    glClear(GL_COLOR_BUFFER_BIT);
    WaveGrid::draw();
    // The quad covers the lower-left quarter of the texture: blue, bottom left of the picture.
    OffscreenGL::Rgb c = gl.at(32, 24);
    EXPECT_EQ(c.b, 255);
    EXPECT_EQ(c.r, 0);
    glCullFace(GL_FRONT);  // seen from behind nothing would show
    glClear(GL_COLOR_BUFFER_BIT);
    WaveGrid::draw();
    EXPECT_TRUE(gl.isBlack(32, 24));
}
