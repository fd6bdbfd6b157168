// The one settings record of the process and its view modes.
// Loaded on the main thread before the render thread starts; the render thread
// may write it once (random preset) before its first frame.
#pragma once
#include <cstdint>

enum SaverMode : int32_t { Explode = 0, Wave1 = 1, Wave2 = 2, Wave3 = 3 };

// Field names are the registry value names, "xyGoraud" included.
struct SaverSettings {
    int32_t Priority;
    float x_div;
    float y_div;
    float xyAmplitude;
    float xyFrequency1;
    float xyFrequency2;
    float xySizeX;
    float xySizeY;
    int32_t Mode;
    int32_t genChildren;
    int32_t xyGoraud;
    int32_t useLinear;
    int32_t screenTextureWidth;
    int32_t screenTextureHeight;
    int32_t useTrails;
    int32_t enableMovement;
    float rotX0;
    float rotX1;
    float rotY0;
    float rotY1;
    float rotZ0;
    float rotZ1;
    float zoom0;
    float zoom1;
    int32_t useOGL;
    int32_t randPreset;
    int32_t resW;
    int32_t resH;
    int32_t resC;
    int32_t monitorMode;  // MonitorMode (settings/monitor_mode.h), as stored
};

extern SaverSettings saverSettings;
