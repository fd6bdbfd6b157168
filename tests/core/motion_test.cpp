#include "render/frame_timer.h"
#include "render/motion.h"
#include "settings/saver_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

TEST(Oscillator, DefaultZoomStartsSmallAndRisesAtItsRate) {
    MotionOscillator zoom = zoomOscillator(25, 20);
    EXPECT_FLOAT_EQ(zoom.low, 0.4f);
    EXPECT_FLOAT_EQ(zoom.high, 2.5f);
    EXPECT_EQ(zoom.steps, 20);
    EXPECT_FLOAT_EQ(zoom.invSteps, 0.05f);
    EXPECT_FLOAT_EQ(zoom.unit, 0.105f);
    EXPECT_FLOAT_EQ(zoom.phase, 10.0f);
    float out = 1.0f;
    zoom.step(out, 30.0f);  // one second of frames at once
    EXPECT_FLOAT_EQ(out, 0.0525f);
    zoom.step(out, 30.0f);
    EXPECT_NEAR(out, 0.0525f + 0.1575f, 1e-5);
}

TEST(Oscillator, StillOscillatorsHoldTheirUpperBound) {
    struct Case { MotionOscillator o; float expected; };
    const Case cases[] = {
        {rotationOscillator(10, 0), 10.0f},  // a time of 0 fixes the angle at the amplitude
        {rotationOscillator(0, 30), 0.0f},
        {zoomOscillator(10, 20), 1.0f},
        {zoomOscillator(5, 20), 0.5f},
        {zoomOscillator(0, 20), 0.0f},
    };
    for (Case c : cases) {
        float before = c.o.phase, out = -99;
        for (int i = 0; i < 3; ++i) c.o.step(out, 7.0f);
        EXPECT_FLOAT_EQ(out, c.expected);
        if (c.o.unit == 0.0f) {
            EXPECT_EQ(c.o.phase, before);
        }
    }
}

TEST(Oscillator, NegativeTimeStartsBelowZeroAndRisesLikeItsPositive) {
    MotionOscillator negative = rotationOscillator(45, -5);
    MotionOscillator positive = rotationOscillator(45, 5);
    EXPECT_EQ(negative.steps, -5);
    EXPECT_FLOAT_EQ(negative.invSteps, -0.2f);
    EXPECT_FLOAT_EQ(negative.unit, -0.4f * 45);
    EXPECT_FLOAT_EQ(negative.phase, -2.0f);
    float a = 0, b = 0, a0, b0;
    negative.step(a, 1.0f);
    positive.step(b, 1.0f);
    EXPECT_FLOAT_EQ(a, -0.16f * 45);
    a0 = a, b0 = b;
    negative.step(a, 1.0f);
    positive.step(b, 1.0f);
    EXPECT_FLOAT_EQ(a - a0, b - b0);
    EXPECT_GT(a - a0, 0.0f);
    EXPECT_EQ(rotationOscillator(45, 20.9f).steps, 20);
    // A stored time past 32 bits (2147483647 becomes the float 2^31) saturates, never wraps.
    EXPECT_EQ(rotationOscillator(45, 2147483647.0f).steps, INT32_MAX);
    EXPECT_EQ(rotationOscillator(45, -3e9f).steps, INT32_MIN);
}

TEST(Oscillator, OvershootIsShownThenTurns) {
    MotionOscillator o = rotationOscillator(10, 10);  // unit 2, invSteps 0.1: v = 0.2 * phase
    o.phase = 50.5f;                                 // v = 10.1, just past the bound
    float out = 0;
    o.step(out, 1.0f);
    EXPECT_FLOAT_EQ(out, 10.1f);
    EXPECT_FALSE(o.rising);
    o.step(out, 1.0f);
    EXPECT_FLOAT_EQ(out, 10.3f);  // phase had moved on before the turn
    o.step(out, 1.0f);
    EXPECT_FLOAT_EQ(out, 10.1f);
}

TEST(Motion, ResetFillsFromSettingsAndStepsMoveOnlyTheAngles) {
    SaverSettings saved = saverSettings;
    saverSettings.rotX0 = 10, saverSettings.rotX1 = 30;
    saverSettings.rotY0 = 10, saverSettings.rotY1 = 25;
    saverSettings.rotZ0 = 45, saverSettings.rotZ1 = 20;
    saverSettings.zoom0 = 25, saverSettings.zoom1 = 20;
    resetMotion();
    EXPECT_EQ(motion.angleX, 0.0f);
    EXPECT_EQ(motion.zoomScale, 1.0f);
    EXPECT_EQ(motion.eyeOffset[2], -300.0f);
    stepMotion(0.0f);
    EXPECT_NEAR(motion.angleX, 0.3333f, 1e-4);
    EXPECT_NEAR(motion.angleY, 0.384f, 1e-4);
    EXPECT_NEAR(motion.angleZ, 2.25f, 1e-4);
    EXPECT_NEAR(motion.zoomScale, 0.0525f, 1e-6);
    stepMotion(1.0f);  // the output shows the phase before this step's advance
    EXPECT_NEAR(motion.angleX, 0.3333f, 1e-4);
    stepMotion(0.0f);  // ...so a second's advance shows one frame later
    EXPECT_NEAR(motion.angleX, 0.3333f + 0.6667f, 1e-3);
    EXPECT_NEAR(motion.angleY, 0.384f + 0.96f, 1e-3);
    EXPECT_NEAR(motion.angleZ, 2.25f + 6.75f, 1e-3);
    EXPECT_EQ(motion.eyeOffset[2], -300.0f);
    saverSettings = saved;
}

static ClockReading counterAt(long double ms) {
    const int64_t frequency = 10000000;  // a 10 MHz counter
    return {true, int64_t(std::llround(ms * frequency / 1000)), frequency, 0};
}

TEST(FrameClock, FramesStayEvenAfterThirtyDaysOfUptime) {
    const long double boot = 30.0L * 24 * 3600 * 1000;
    const ClockReading start = counterAt(boot);
    // Counted from boot, a 16 ms frame is lost in single precision.
    EXPECT_EQ(float(boot + 16) - float(boot), 0.0f);
    float last = float(elapsedMs(start, counterAt(boot + 1)));
    for (int frame = 1; frame <= 600; ++frame) {
        long double now = elapsedMs(start, counterAt(boot + 1 + frame * 16.667L));
        float d = secondsSince(last, now);
        ASSERT_NEAR(d, 0.016667f, 2e-6) << "frame " << frame;
        last = float(now);
    }
    EXPECT_NEAR(secondsSince(0.0f, elapsedMs(start, counterAt(boot + 3600000))), 3600.0f, 1e-3);
}

TEST(FrameClock, WithoutACounterTheTimerMillisecondsWrapCleanly) {
    ClockReading start = {false, 0, 0, 0xFFFFFFF0u};
    ClockReading now = {false, 0, 0, 0x10u};
    EXPECT_EQ(elapsedMs(start, now), 32.0L);
    EXPECT_EQ(secondsSince(5.0f, 5.0L), 0.0f);
}

TEST(FrameClock, InstantsAreTakenAtStartUpInOrder) {
    EXPECT_GE(FrameTimer::startInstantMs, 0.0f);
    EXPECT_LE(FrameTimer::startInstantMs, FrameTimer::lastFrameMs);
    EXPECT_LT(FrameTimer::nowMs(), 600000.0L);  // measured from process start, not boot
}

TEST(FrameClock, APauseMovesBothInstantsOnSoThatTheMotionDoesNotJump) {
    const float start = FrameTimer::startInstantMs, last = FrameTimer::lastFrameMs;
    pauseFrameClock();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    pauseFrameClock();  // a second pause keeps the first instant
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    resumeFrameClock();
    resumeFrameClock();  // and a second resume moves nothing more
    const float moved = FrameTimer::lastFrameMs - last;
    EXPECT_GE(moved, 300.0f);
    EXPECT_NEAR(FrameTimer::startInstantMs - start, moved, 1.0f);
}
