// Switching the display to a configured mode while the saver runs, and back.
// Main thread.
#pragma once

// Returns nonzero on success; (0, 0, 0) gives the display its stored mode back.
int switchDisplayMode(int width, int height, int bitsPerPixel);
