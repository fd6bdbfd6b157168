// One frame of the animation: clear, place the scene, let the view draw and
// advance, move the scene. Render thread only, its context current.
#pragma once

// Everything of a frame but presenting it; the caller swaps the buffers.
void drawFrame();
// The same frame `seconds` after the previous one, whatever the clock says.
void drawFrameAfter(float seconds);
