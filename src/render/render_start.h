// What a render thread does between making its context current and its first frame, on
// every platform: viewport, wave centre, its random generator and random preset, the scene
// and its texture. Render thread only, its context current.
#pragma once
#include <atomic>
#include <cstdint>

void startRendering(int viewportWidth, int viewportHeight, uint32_t seed);

// Frames presented so far in this process: a host counts each swap; the benchmarks read
// it from another thread.
extern std::atomic<uint32_t> framesPresented;
