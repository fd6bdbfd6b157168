// The GL state every frame relies on, set once before the first frame: effect
// geometry, light, movement, projection, switches, material and the scene texture.
// Render thread only, with its context current.
#pragma once
#include <cstdint>

extern uint32_t desktopTexture;

// Set by a host before the render thread starts when the desktop gave nothing to show: the
// logo stands in for this run only, and the stored "OpenGL Logo" setting stays the user's.
extern bool logoStandsIn;
// Whether the scene is textured with the logo rather than the desktop snapshot.
bool sceneShowsLogo();

void prepareScene();
// The logo's texture, made once.
void loadLogoTexture();
// What the scene is textured with: the logo where it stands in, or where the scene has no
// texture of its own (a monitor that gave no picture).
uint32_t sceneTexture();
// The upload's work that needs no GL: the snapshot's mipmap chain. A render thread may do it
// while its GL driver starts; the upload does it otherwise.
void prepareSnapshotTexture();
// Turns the desktop snapshot into the scene texture and frees the snapshot. Without a
// snapshot (no capture, or a size that could not be held) there is no texture: a single
// scene is drawn in its lit white material, one of several with the logo.
void uploadSnapshotTexture();
