// One scene per monitor: which views a drawable gets in each mode, on monitors of different
// sizes at offset and negative places, and a frame drawn in two views, each scene with its
// own picture and the black margin of its own plane at the seam.
#include "render/monitor_views.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "effects/wave_grid.h"
#include "osmesa_fixture.h"
#include "render/other_scenes.h"
#include "render/render_start.h"
#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace {

bool same(const ScreenArea& a, const ScreenArea& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// A snapshot of one colour, blue, green, red.
DesktopSnapshot plainSnapshot(uint8_t blue, uint8_t green, uint8_t red) {
    uint8_t* p = static_cast<uint8_t*>(std::malloc(16 * 16 * 3));
    for (int i = 0; i < 16 * 16 * 3; i += 3) p[i] = blue, p[i + 1] = green, p[i + 2] = red;
    return {16, 16, p};
}

}  // namespace

TEST(MonitorViews, EachModeOnMonitorsOfDifferentSizesAndPlaces) {
    // A 1024x768 monitor left of and above an 800x600 primary one at the origin.
    const std::vector<ScreenArea> monitors = {{0, 0, 800, 600}, {-1024, -168, 1024, 768}};
    const ScreenArea desktop = {-1024, -168, 1824, 768};
    const auto span = monitorViews(SpanMonitors, desktop, monitors, 0);
    ASSERT_EQ(span.size(), 1u);
    EXPECT_TRUE(same(span[0].viewport, {0, 0, 1824, 768}) && same(span[0].desktop, desktop));
    EXPECT_TRUE(isWholeDrawable(span, desktop));

    const auto each = monitorViews(EachMonitor, desktop, monitors, 0);
    ASSERT_EQ(each.size(), 2u);
    EXPECT_TRUE(same(each[0].viewport, {1024, 168, 800, 600}) && same(each[0].desktop, monitors[0]));
    EXPECT_TRUE(same(each[1].viewport, {0, 0, 1024, 768}) && same(each[1].desktop, monitors[1]));
    EXPECT_FALSE(isWholeDrawable(each, desktop));

    const auto primary = monitorViews(PrimaryMonitorOnly, desktop, monitors, 0);
    ASSERT_EQ(primary.size(), 1u);
    EXPECT_TRUE(same(primary[0].viewport, {1024, 168, 800, 600}));
    EXPECT_FALSE(isWholeDrawable(primary, desktop));

    // A drawable over part of the desktop only (a window on one monitor) keeps that part.
    const auto clipped = monitorViews(EachMonitor, {-100, 0, 300, 200}, monitors, 0);
    ASSERT_EQ(clipped.size(), 2u);
    EXPECT_TRUE(same(clipped[0].viewport, {100, 0, 200, 200}) && same(clipped[0].desktop, {0, 0, 200, 200}));
    EXPECT_TRUE(same(clipped[1].viewport, {0, 0, 100, 200}));
    // A mirror, and a screen's area listed beside its monitors, are no monitors of their own.
    const auto listed = monitorViews(EachMonitor, desktop, {desktop, monitors[0], monitors[1], monitors[0]}, 0);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_TRUE(same(listed[0].desktop, monitors[0]) && same(listed[1].desktop, monitors[1]));
    // No monitors known, or a primary one outside the drawable: the whole drawable.
    EXPECT_TRUE(isWholeDrawable(monitorViews(EachMonitor, desktop, {}, 0), desktop));
    EXPECT_TRUE(isWholeDrawable(monitorViews(PrimaryMonitorOnly, {5000, 0, 10, 10}, monitors, 0), {5000, 0, 10, 10}));
}

TEST(MonitorViews, EachSceneDrawsItsOwnPictureInItsOwnView) {
    OffscreenGL gl(400, 150);
    SettingsStore::applyDefaults();
    saverSettings.Mode = Wave1, saverSettings.xyAmplitude = 0, saverSettings.enableMovement = 0;
    sceneViews = monitorViews(EachMonitor, {0, 0, 400, 150}, {{0, 0, 200, 150}, {200, 0, 200, 150}}, 0);
    desktopSnapshot = plainSnapshot(0, 0, 255);  // red on the left monitor
    otherScenes.assign(1, SceneState());
    otherScenes[0].snapshot = plainSnapshot(0, 255, 0);  // green on the right one
    startRendering(gl.width, gl.height, 1);
    prepareOtherScenes();
    drawFrameInViews(gl.height);
    const OffscreenGL::Rgb left = gl.at(100, 75), right = gl.at(300, 75);
    EXPECT_TRUE(left.r > 100 && left.g < 50) << left.r << "," << left.g << "," << left.b;
    EXPECT_TRUE(right.g > 100 && right.r < 50) << right.r << "," << right.g << "," << right.b;
    // Each plane covers three quarters of its view: black at both sides of the seam.
    EXPECT_TRUE(gl.isBlack(195, 75) && gl.isBlack(205, 75));
    EXPECT_FALSE(gl.isBlack(160, 75) || gl.isBlack(240, 75));
    EXPECT_EQ(otherScenes[0].snapshot.pixels, nullptr) << "the snapshot became the texture";
    releaseOtherScenes();
    sceneViews.clear();
    SettingsStore::applyDefaults();
}

TEST(MonitorViews, OneSceneSlicedAcrossOutputsOfTheirOwnAtTheirOwnScales) {
    // Three outputs left to right, the last at scale 2; the layout starts left of the origin.
    const ScreenArea layout = {-800, 0, 2464, 768};
    EXPECT_TRUE(same(spanSlice(layout, {-800, 0, 800, 600}, 800, 600), {0, 0, 2464, 768}));
    EXPECT_TRUE(same(spanSlice(layout, {0, 0, 1024, 768}, 1024, 768), {-800, 0, 2464, 768}));
    EXPECT_TRUE(same(spanSlice(layout, {1024, 0, 640, 480}, 1280, 960), {-3648, 0, 4928, 1536}));
    // At a fractional scale the edges are rounded one by one: the slices of two outputs
    // meeting at layout x 333 meet at the same place of the scene, in each one's pixels.
    const ScreenArea narrow = {0, 0, 1000, 100};
    const ScreenArea left = spanSlice(narrow, {0, 0, 333, 100}, 500, 150);
    const ScreenArea right = spanSlice(narrow, {333, 0, 667, 100}, 1001, 150);
    EXPECT_EQ(left.width, 1502);
    EXPECT_EQ(right.left, -500) << "the right output starts where the left one's 500 pixels end";
    // An output of no known size shows the whole scene.
    EXPECT_TRUE(same(spanSlice(layout, {0, 0, 0, 0}, 640, 480), {0, 0, 640, 480}));
}
