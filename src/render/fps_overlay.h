// The -fps overlay: frames per second over the last second and the share of one core
// the process used, in a corner over the frame, drawn with OpenGL 1.1 bitmaps in a small
// font of its own. Portable: the host hands it the frame instants and the process's CPU
// time. Render thread only, its context current.
#pragma once
#include <string>

struct FpsOverlay {
    double sinceSeconds = -1;  // start of the current second; -1 before the first frame
    double sinceCpuSeconds = 0;
    int frames = 0;          // frames since then
    double framesPerSecond = -1;  // over the last whole second; -1 until one has passed
    double cpuShare = 0;     // of one core over that second (above 1 with several threads)
};

// A frame has been drawn at `nowSeconds` of a steady clock, with `cpuSeconds` of the
// process's CPU time (all its threads) used so far.
void countFpsFrame(FpsOverlay& overlay, double nowSeconds, double cpuSeconds);

// What the overlay shows: two lines, empty until a whole second has passed.
std::string fpsOverlayText(const FpsOverlay& overlay);

// Draws the text at the bottom left of a viewport of that size over what is drawn;
// every state it changes is given back.
void drawFpsOverlay(const FpsOverlay& overlay, int viewportWidth, int viewportHeight);
