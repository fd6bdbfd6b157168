#include "native/frame_loop.h"

#include <GL/gl.h>

#include <vector>

#include "native/end_watch.h"
#include "native/native_process.h"
#include "render/fps_overlay.h"
#include "render/frame.h"
#include "render/frame_pacing.h"
#include "render/frame_timer.h"
#include "render/monitor_views.h"
#include "render/other_scenes.h"
#include "render/render_start.h"

namespace {

struct Drawing {
    int width = 0, height = 0;
    FpsOverlay fps;
    std::vector<bool> moved;  // the scenes shown on some drawable this frame
};

void drawOnDrawable(const DrawableFrame& frame) {
    glViewport(0, 0, frame.width, frame.height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (frame.scene < 0) return;
    drawSceneInView(size_t(frame.scene), frame.view, frame.height);
    glViewport(0, 0, frame.width, frame.height);
}

// Each scene is drawn on every drawable that shows it, then moved on once.
void drawOnEveryDrawable(const FrameHost& host, const FrameLoopOptions& options, Drawing& drawing) {
    const float d = takeFrameDelta();
    if (options.showFps) countFpsFrame(drawing.fps, double(FrameTimer::nowMs()) * 0.001, processCpuSeconds());
    drawing.moved.assign(otherScenes.size() + 1, false);
    bool overlaid = false;
    for (size_t i = 0, count = host.drawableCount(host.self); i < count; ++i) {
        const DrawableFrame frame = host.selectDrawable(host.self, i);
        if (frame.scene >= 0 && size_t(frame.scene) < drawing.moved.size()) drawing.moved[size_t(frame.scene)] = true;
        if (!frame.drawn) continue;
        drawOnDrawable(frame);
        if (options.showFps && !overlaid) drawFpsOverlay(drawing.fps, frame.width, frame.height), overlaid = true;
        host.present(host.self);
    }
    for (size_t scene = 0; scene < drawing.moved.size(); ++scene)
        if (drawing.moved[scene]) advanceSceneBy(scene, d);
    framesPresented.fetch_add(1, std::memory_order_relaxed);
}

void drawAndPresent(const FrameHost& host, const FrameLoopOptions& options, Drawing& drawing) {
    int width = 0, height = 0;
    host.size(host.self, width, height);
    if (width != drawing.width || height != drawing.height) {
        drawing.width = width, drawing.height = height;
        glViewport(0, 0, width, height);
    }
    if (isWholeDrawable(sceneViews, {0, 0, width, height}) || sceneViews.empty()) {
        drawFrame();
    } else {
        drawFrameInViews(height);
        glViewport(0, 0, width, height);  // the overlay's corner is the drawable's
    }
    if (options.showFps) {
        countFpsFrame(drawing.fps, double(FrameTimer::nowMs()) * 0.001, processCpuSeconds());
        drawFpsOverlay(drawing.fps, width, height);
    }
    host.present(host.self);
    framesPresented.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

int64_t frameClockUs() { return int64_t(FrameTimer::nowMs() * 1000); }

int runFrameLoop(const FrameHost& host, const FrameLoopOptions& options) {
    Drawing drawing;
    host.size(host.self, drawing.width, drawing.height);
    startRendering(drawing.width, drawing.height, clockSeed());
    prepareOtherScenes();
    FramePacer pacer{options.delayUs};
    HostState state = host.readEvents(host.self);
    while (state == HostState::Running && !endRequested()) {
        const int64_t now = frameClockUs();
        const int waitMs = host.frameWaitMs       ? host.frameWaitMs(host.self, now)
                           : host.wantsFrame(host.self) ? frameWaitMs(pacer, now)
                                                        : -1;
        if (waitMs == 0) {
            if (takeRestartRequest()) restartScenes();
            startFrame(pacer, now);
            if (host.drawableCount)
                drawOnEveryDrawable(host, options, drawing);
            else
                drawAndPresent(host, options, drawing);
            state = host.readEvents(host.self);
        } else {
            state = host.wait(host.self, waitMs);
        }
    }
    releaseOtherScenes();  // with the context still current, whichever host ran the loop
    return state == HostState::Lost ? 1 : 0;
}
