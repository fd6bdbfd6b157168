#include "render/frame.h"

#include <GL/gl.h>

#include "effects/explode.h"
#include "effects/wave_grid.h"
#include "render/frame_timer.h"
#include "render/motion.h"
#include "settings/saver_settings.h"

static void placeScene() {
    glTranslatef(motion.eyeOffset[0], motion.eyeOffset[1], motion.eyeOffset[2]);
    glRotatef(motion.angleX, 1, 0, 0);
    glRotatef(motion.angleY, 0, 1, 0);
    glRotatef(motion.angleZ, 0, 0, 1);
    glScalef(motion.zoomScale, motion.zoomScale, motion.zoomScale);
    glTranslatef(-512, -384, 0);  // the plane's centre is the pivot
}

float takeFrameDelta() {
    const float d = secondsSince(FrameTimer::lastFrameMs, FrameTimer::nowMs());
    FrameTimer::lastFrameMs = float(FrameTimer::nowMs());
    return d;
}

void drawSceneStill() {
    glLoadIdentity();
    placeScene();
    if (saverSettings.Mode != Explode)
        WaveGrid::draw();
    else
        drawFragments();
}

void advanceScene(float d) {
    if (saverSettings.Mode != Explode) {
        // The waves run on time since start, so they do not depend on the frame rate.
        WaveGrid::updateHeights(secondsSince(FrameTimer::startInstantMs, FrameTimer::nowMs()));
    } else {
        const float step = d * 25;
        for (Fragment& f : fragmentList) f.update(step, 0.05f);
        stepExplosion();
    }
    if (saverSettings.enableMovement) stepMotion(d);
}

void drawScene(float d) {
    drawSceneStill();
    advanceScene(d);
}

void drawFrame() { drawFrameAfter(takeFrameDelta()); }

void drawFrameAfter(float seconds) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawScene(seconds);
    glFlush();
}
