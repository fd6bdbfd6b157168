#include "render/motion.h"

#include "settings/saver_settings.h"
#include "settings/settings_fields.h"

MotionState motion;

void MotionOscillator::step(float& out, float h) {
    if (unit == 0.0f) {
        out = high;
        return;
    }
    float v = invSteps * phase * unit;
    out = v;
    // The value that crosses a bound is still this frame's output; the turn comes next frame.
    if (rising) {
        if (v > high) rising = 0;
        phase += h;
    } else {
        if (v < low) rising = 1;
        phase -= h;
    }
}

static MotionOscillator oscillator(float low, float high, float time, bool moves) {
    MotionOscillator o;
    o.low = low;
    o.high = high;
    o.steps = truncateToInt32(time);  // a stored time past 32 bits saturates
    o.unit = o.steps != 0 && moves ? (high - low) / float(o.steps) : 0.0f;
    o.invSteps = o.steps != 0 ? 1.0f / float(o.steps) : 0.0f;
    o.phase = float(o.steps / 2);
    o.rising = 1;
    return o;
}

MotionOscillator rotationOscillator(float amplitude, float time) {
    return oscillator(-amplitude, amplitude, time, true);
}

MotionOscillator zoomOscillator(float zoom0, float time) {
    float s = zoom0 * 0.1f;
    float low = 1.0f / s;  // zoom0 0 gives +infinity: a still zoom of 0
    return oscillator(low, s, time, s > low);
}

void resetMotion() {
    const SaverSettings& s = saverSettings;
    motion.rotX = rotationOscillator(s.rotX0, s.rotX1);
    motion.rotY = rotationOscillator(s.rotY0, s.rotY1);
    motion.rotZ = rotationOscillator(s.rotZ0, s.rotZ1);
    motion.zoom = zoomOscillator(s.zoom0, s.zoom1);
    motion.angleX = motion.angleY = motion.angleZ = 0.0f;
    motion.zoomScale = 1.0f;
    motion.eyeOffset[0] = motion.eyeOffset[1] = 0.0f;
    motion.eyeOffset[2] = -300.0f;
}

void stepMotion(float seconds) {
    float h = seconds * 30.0f;
    motion.rotX.step(motion.angleX, h);
    motion.rotY.step(motion.angleY, h);
    motion.rotZ.step(motion.angleZ, h);
    motion.zoom.step(motion.zoomScale, h);
}
