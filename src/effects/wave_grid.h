// The wave views: the scene texture on a grid of x_div by y_div vertices whose
// heights follow a closed-form wave of position and time. Render thread only.
#pragma once
#include "effects/geometry.h"

// The point the waves are measured from; the render thread sets it to (512, 384).
extern float waveCenter[2];

// Grids beyond this many vertices are not built (and draw nothing): far past any
// useful density, and the four arrays stay within a few tens of megabytes.
const long maxGridVertices = 1 << 20;

struct WaveGridState {
    int columns = 0, rows = 0;  // 0 when the settings give no grid
    Float3* positions = nullptr;
    Float3* texCoords = nullptr;
    Float3* smoothNormals = nullptr;
    Float3* faceNormals = nullptr;
};
extern WaveGridState waveGrid;

namespace WaveGrid {
void build();
void release();  // the arrays, for a scene that goes
void draw();
void updateHeights(float t);
void computeNormals();  // the first half of draw
}

// Height of the wave of `mode` at (dx, dy) from the centre at time T = 100 t;
// false for a mode without a wave.
bool waveHeight(int mode, float dx, float dy, float T, float& z);
