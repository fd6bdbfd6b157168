// The -fps overlay: frames per second over the last second and the share of one core
// the process used, in a corner over the frame, in a small bitmap font of its own drawn
// with OpenGL 1.1. Portable: the host hands it the frame instants and the process's CPU
// time. Render thread only, its context current.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct FpsOverlay {
    double sinceSeconds = -1;  // start of the current second; -1 before the first frame
    double sinceCpuSeconds = 0;
    int frames = 0;          // frames since then
    double framesPerSecond = -1;  // over the last whole second; -1 until one has passed
    double cpuShare = 0;     // of one core over that second (above 1 with several threads)
    // The text as a picture, painted again only when the text or its scale changes.
    std::string pictureText;
    int pictureScale = 0, pictureWidth = 0, pictureHeight = 0;
    std::vector<uint8_t> picture;
};

// A frame has been drawn at `nowSeconds` of a steady clock, with `cpuSeconds` of the
// process's CPU time (all its threads) used so far.
void countFpsFrame(FpsOverlay& overlay, double nowSeconds, double cpuSeconds);

// What the overlay shows: two lines, empty until a whole second has passed.
std::string fpsOverlayText(const FpsOverlay& overlay);

// Draws the text at the bottom left of a viewport of that size over what is drawn;
// every state it changes is given back.
void drawFpsOverlay(FpsOverlay& overlay, int viewportWidth, int viewportHeight);
