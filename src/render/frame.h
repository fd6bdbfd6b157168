// One frame of the animation: clear, place the scene, let the view draw and
// advance, move the scene. Render thread only, its context current.
#pragma once

// Everything of a frame but presenting it; the caller swaps the buffers.
void drawFrame();
// The same frame `seconds` after the previous one, whatever the clock says.
void drawFrameAfter(float seconds);

// The seconds since the last frame; the next frame measures from now.
float takeFrameDelta();

// The scene placed, drawn and advanced by `d` seconds, in the viewport set: a frame but
// for the clear and the flush.
void drawScene(float d);
// Its two halves, for a scene shown on several drawables: drawn on each, advanced once.
void drawSceneStill();
void advanceScene(float d);
