// The optional movement of the whole scene: three rotation angles and a zoom, each
// swung back and forth by a triangle-wave oscillator. Render thread only.
#pragma once
#include <cstdint>

struct MotionOscillator {
    float low;
    float high;
    float unit;      // (high - low) / steps; 0 marks a still oscillator
    float invSteps;  // 1 / steps; 0 when steps is 0
    float phase;
    int32_t steps;
    int32_t rising;

    void step(float& out, float h);
};

// A rotation swing of +-amplitude degrees over `time` steps (truncated toward zero).
MotionOscillator rotationOscillator(float amplitude, float time);
// A zoom between 10/zoom0 and zoom0/10; still unless the upper bound is the larger.
MotionOscillator zoomOscillator(float zoom0, float time);

struct MotionState {
    float eyeOffset[3];
    float angleX, angleY, angleZ;
    float zoomScale;
    MotionOscillator rotX, rotY, rotZ, zoom;
};
extern MotionState motion;

// Fills the oscillators from saverSettings and puts the scene at rest in front of the eye.
void resetMotion();
// Advances the four oscillators by one frame of `seconds`.
void stepMotion(float seconds);
