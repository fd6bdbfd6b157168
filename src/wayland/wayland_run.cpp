#include "wayland/wayland_run.h"

#include <GL/gl.h>

#include <cstdio>

#include "native/end_watch.h"
#include "native/native_process.h"
#include "render/fps_overlay.h"
#include "render/frame.h"
#include "render/frame_pacing.h"
#include "render/frame_timer.h"
#include "render/render_start.h"
#include "settings/saver_settings.h"
#include "wayland/wayland_picture.h"
#include "wayland/full_screen_surface.h"
#include "wayland/output_processes.h"
#include "wayland/seat_input.h"
#include "wayland/wayland_connection.h"

namespace {

// A frame when the compositor has asked for one and -delay has passed since the last
// one began; between frames, a wait that the compositor's events and the end cut short.
// An unseen window is never asked for frames, and costs nothing.
int drawFrames(WaylandConnection& connection, FullScreenSurface& window, SeatInput& input,
               const SaverOptions& options) {
    FramePacer pacer{options.delayUs};
    FpsOverlay fps;
    while (!endRequested() && !input.ended && !window.closed) {
        int timeoutMs = -1;  // until the compositor asks for a frame, or something else comes
        if (!window.frameCallback) {
            const int64_t nowUs = int64_t(FrameTimer::nowMs() * 1000);
            timeoutMs = frameWaitMs(pacer, nowUs);
            if (timeoutMs == 0) {
                startFrame(pacer, nowUs);
                if (takeWantedSize(window)) {
                    glViewport(0, 0, window.width, window.height);
                    forgetPointerPlace(input);
                }
                drawFrame();
                if (options.showFps) {
                    countFpsFrame(fps, double(FrameTimer::nowMs()) * 0.001, processCpuSeconds());
                    drawFpsOverlay(fps, window.width, window.height);
                }
                presentFrame(window);
                framesPresented.fetch_add(1, std::memory_order_relaxed);
                continue;
            }
        }
        if (!waitForEvents(connection, timeoutMs)) {
            std::fputs("quakeglass: the Wayland compositor went away\n", stderr);
            return 1;
        }
    }
    return 0;
}

int runOnOutput(WaylandConnection& connection, const WaylandOutput* output, const SaverOptions& options) {
    SeatInput input;
    listenToSeat(connection, input);
    FullScreenSurface window;
    std::string error;
    int status = 0;
    if (openFullScreenSurface(connection, output, window, error)) {
        startRendering(window.width, window.height, clockSeed());
        status = drawFrames(connection, window, input, options);
    } else if (!error.empty()) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        status = 1;
    }
    closeFullScreenSurface(window);
    stopListening(input);
    return status;
}

// What the output shows of the picture, or the logo.
void takeSnapshot(const WaylandPicture* picture, const ScreenArea& layout, const WaylandOutput* output) {
    if (!saverSettings.useOGL && !(picture && snapshotForOutput(*picture, layout, output)))
        saverSettings.useOGL = 1;
}

}  // namespace

int runWaylandSaver(const SaverOptions& options) {
    startEndWatch();
    applyPriority(saverSettings.Priority);
    WaylandConnection connection;
    std::string error;
    if (!connectWayland(connection, error)) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        disconnectWayland(connection);
        stopEndWatch();
        return 1;
    }
    // Before any window shows: the one picture of the whole desktop that every output's
    // process takes its part from.
    WaylandPicture picture;
    const WaylandPicture* pictured = takeWaylandPicture(connection, options, picture) ? &picture : nullptr;
    const ScreenArea layout = desktopLayout(connection);
    const size_t outputCount = connection.outputs.size();
    if (outputCount <= 1) {
        const WaylandOutput* output = outputCount ? &connection.outputs[0] : nullptr;
        takeSnapshot(pictured, layout, output);
        const int status = runOnOutput(connection, output, options);
        disconnectWayland(connection);
        stopEndWatch();
        return status;
    }
    // Each output's process has a connection and an end watch of its own.
    disconnectWayland(connection);
    stopEndWatch();
    return runProcessPerOutput(outputCount, [&](size_t index) {
        WaylandConnection own;
        if (!connectWayland(own, error)) {
            std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
            return 1;
        }
        const WaylandOutput* output = index < own.outputs.size() ? &own.outputs[index] : nullptr;
        takeSnapshot(pictured, layout, output);
        const int status = runOnOutput(own, output, options);
        disconnectWayland(own);
        return status;
    });
}
