// The scenes beyond the first when each monitor has a scene of its own: each with its own
// explode boxes, wave grid, movement and texture, all on the one clock. The first scene is
// the process-wide records the effects work on (fragmentList, waveGrid, motion,
// desktopTexture); another scene's records are swapped in for the time of its view.
// Made on the main thread with their snapshots; the render thread owns them from its start.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "capture/desktop_snapshot.h"
#include "effects/geometry.h"
#include "effects/wave_grid.h"
#include "render/motion.h"

struct SceneState {
    FragmentList fragments;
    ExplodeArrays arrays;
    WaveGridState grid{};
    MotionState motion{};
    uint32_t texture = 0;
    DesktopSnapshot snapshot;  // until the render thread makes it the texture
};

// One for each of sceneViews beyond the first.
extern std::vector<SceneState> otherScenes;

// The first scene's snapshot for every other scene too: a picture that is not the desktop
// (a picture from a folder) shows on every monitor.
void shareFirstSnapshot();

// Exchanges the scene's records with the process-wide ones.
void swapScene(SceneState& scene);

// The effect, the movement and the texture of every other scene, after startRendering: the
// texture from the scene's snapshot, or the logo without one.
void prepareOtherScenes();
void prepareOtherScene(SceneState& scene);
// Lets a scene's effect, arrays, texture and snapshot go; it may be prepared again.
void releaseScene(SceneState& scene);
// Lets every other scene go, with its arrays, texture and snapshot.
void releaseOtherScenes();
// Every scene, the first too, from its start: a new wall, the waves and the movement from
// their beginning, on the textures they have.
void restartScenes();

// Scene `scene` (0: the first, k: otherScenes[k - 1]) drawn as it stands in `view` of a
// drawable `drawableHeight` pixels high, and that scene moved on by `d` seconds: a scene
// shown on several drawables is drawn on each and moved on once.
void drawSceneInView(size_t scene, const ScreenArea& view, int drawableHeight);
void advanceSceneBy(size_t scene, float d);

// One frame in every view of a drawable `drawableHeight` pixels high: the whole drawable
// cleared, then each scene drawn in its view and advanced by the same time step. The
// caller swaps the buffers.
void drawFrameInViews(int drawableHeight);
