#include "render/other_scenes.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "effects/explode.h"
#include "render/frame.h"
#include "render/frame_timer.h"
#include "render/monitor_views.h"
#include "render/scene.h"
#include "settings/saver_settings.h"

std::vector<SceneState> otherScenes;

void shareFirstSnapshot() {
    const size_t bytes = snapshotBytes(desktopSnapshot.width, desktopSnapshot.height);
    for (SceneState& scene : otherScenes) {
        if (!desktopSnapshot.pixels || scene.snapshot.pixels) continue;
        uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytes));
        if (pixels) std::memcpy(pixels, desktopSnapshot.pixels, bytes);
        scene.snapshot = {desktopSnapshot.width, desktopSnapshot.height, pixels};
    }
}

void swapScene(SceneState& scene) {
    std::swap(fragmentList, scene.fragments);
    std::swap(explodeArrays, scene.arrays);
    std::swap(waveGrid, scene.grid);
    std::swap(motion, scene.motion);
    std::swap(desktopTexture, scene.texture);
}

void prepareOtherScene(SceneState& scene) {
    swapScene(scene);
    if (saverSettings.Mode != Explode)
        WaveGrid::build();
    else
        clearFragments();
    resetMotion();
    if (!sceneShowsLogo() && scene.snapshot.pixels) {
        std::swap(desktopSnapshot, scene.snapshot);
        uploadSnapshotTexture();
        std::swap(desktopSnapshot, scene.snapshot);
    } else {
        loadLogoTexture();
    }
    swapScene(scene);
}

void prepareOtherScenes() {
    if (!desktopTexture) loadLogoTexture();  // the first scene without a picture, as the others
    for (SceneState& scene : otherScenes) prepareOtherScene(scene);
}

void releaseScene(SceneState& scene) {
    swapScene(scene);
    WaveGrid::release();
    fragmentList.clear();
    fragmentList.shrink_to_fit();
    explodeArrays = ExplodeArrays();
    if (desktopTexture) glDeleteTextures(1, &desktopTexture);
    desktopTexture = 0;
    swapScene(scene);
    std::free(scene.snapshot.pixels);
    scene.snapshot.pixels = nullptr;
}

void releaseOtherScenes() {
    for (SceneState& scene : otherScenes) releaseScene(scene);
    otherScenes.clear();
}

namespace {

// Runs `work` on scene `scene`'s records; not at all for a scene there is not.
template <typename Work>
void inScene(size_t scene, Work work) {
    SceneState* other = scene > 0 && scene <= otherScenes.size() ? &otherScenes[scene - 1] : nullptr;
    if (scene > 0 && !other) return;
    if (other) swapScene(*other);
    work();
    if (other) swapScene(*other);
}

}  // namespace

void restartScenes() {
    FrameTimer::startInstantMs = float(FrameTimer::nowMs());
    for (size_t scene = 0; scene <= otherScenes.size(); ++scene)
        inScene(scene, [] { clearFragments(), resetMotion(); });
}

void drawSceneInView(size_t scene, const ScreenArea& view, int drawableHeight) {
    inScene(scene, [&] {
        glViewport(view.left, drawableHeight - view.top - view.height, view.width, view.height);
        glBindTexture(GL_TEXTURE_2D, sceneTexture());
        drawSceneStill();
    });
}

void advanceSceneBy(size_t scene, float d) {
    inScene(scene, [&] { advanceScene(d); });
}

void drawFrameInViews(int drawableHeight) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);  // what no view covers stays black
    const float d = takeFrameDelta();
    for (size_t i = 0; i < sceneViews.size(); ++i) drawSceneInView(i, sceneViews[i].viewport, drawableHeight);
    for (size_t i = 0; i < sceneViews.size(); ++i) advanceSceneBy(i, d);
    glFlush();
}
