#include "wayland/wayland_run.h"

#include <GL/gl.h>
#include <time.h>

#include <cstdio>

#include "native/native_process.h"
#include "render/frame.h"
#include "render/render_start.h"
#include "settings/saver_settings.h"
#include "wayland/desktop_picture.h"
#include "wayland/full_screen_surface.h"
#include "wayland/output_processes.h"
#include "wayland/seat_input.h"
#include "wayland/wayland_connection.h"

namespace {

int64_t monotonicUs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// A frame when the compositor has asked for one and -delay has passed since the last
// one began; between frames, a wait that the compositor's events and the end signals cut
// short. An unseen window is never asked for frames, and costs nothing.
int drawFrames(WaylandConnection& connection, FullScreenSurface& window, SeatInput& input, uint32_t delayUs) {
    int64_t lastStartUs = monotonicUs() - delayUs;
    while (!endRequested() && !input.ended && !window.closed) {
        int timeoutMs = -1;
        if (!window.frameCallback) {
            const int64_t waitUs = lastStartUs + delayUs - monotonicUs();
            if (waitUs <= 0) {
                lastStartUs = monotonicUs();
                if (takeWantedSize(window)) {
                    glViewport(0, 0, window.width, window.height);
                    forgetPointerPlace(input);
                }
                drawFrame();
                presentFrame(window);
                framesPresented.fetch_add(1, std::memory_order_relaxed);
                continue;
            }
            timeoutMs = int((waitUs + 999) / 1000);
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
        status = drawFrames(connection, window, input, options.delayUs);
    } else if (!error.empty()) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        status = 1;
    }
    closeFullScreenSurface(window);
    stopListening(input);
    return status;
}

// The part of the picture that the output shows, or the logo.
void takeSnapshot(const DesktopPicture* picture, const ScreenArea& layout, const WaylandOutput* output) {
    if (!saverSettings.useOGL && !(picture && output && snapshotOutput(*picture, layout, output->area)))
        saverSettings.useOGL = 1;
}

}  // namespace

int runWaylandSaver(const SaverOptions& options) {
    catchEndSignals();
    applyPriority(saverSettings.Priority);
    WaylandConnection connection;
    std::string error;
    if (!connectWayland(connection, error)) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        disconnectWayland(connection);
        return 1;
    }
    // Before any window shows: the one picture of the whole desktop that every output's
    // process takes its part from.
    DesktopPicture picture;
    const DesktopPicture* pictured = !saverSettings.useOGL && takeDesktopPicture(picture) ? &picture : nullptr;
    const ScreenArea layout = desktopLayout(connection);
    const size_t outputCount = connection.outputs.size();
    if (outputCount <= 1) {
        const WaylandOutput* output = outputCount ? &connection.outputs[0] : nullptr;
        takeSnapshot(pictured, layout, output);
        const int status = runOnOutput(connection, output, options);
        disconnectWayland(connection);
        return status;
    }
    disconnectWayland(connection);  // each output's process has a connection of its own
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
