#include "native/frame_loop.h"

#include <GL/gl.h>

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

int64_t nowUs() { return int64_t(FrameTimer::nowMs() * 1000); }

struct Drawing {
    int width = 0, height = 0;
    FpsOverlay fps;
};

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

int runFrameLoop(const FrameHost& host, const FrameLoopOptions& options) {
    Drawing drawing;
    host.size(host.self, drawing.width, drawing.height);
    startRendering(drawing.width, drawing.height, clockSeed());
    prepareOtherScenes();
    FramePacer pacer{options.delayUs};
    HostState state = host.readEvents(host.self);
    while (state == HostState::Running && !endRequested()) {
        const int64_t now = nowUs();
        const int waitMs = host.wantsFrame(host.self) ? frameWaitMs(pacer, now) : -1;
        if (waitMs == 0) {
            startFrame(pacer, now);
            drawAndPresent(host, options, drawing);
            state = host.readEvents(host.self);
        } else {
            state = host.wait(host.self, waitMs);
        }
    }
    return state == HostState::Lost ? 1 : 0;
}
