#include "wayland/wayland_run.h"

#include <GL/gl.h>

#include <cstdio>

#include "native/end_watch.h"
#include "native/frame_loop.h"
#include "native/native_run.h"
#include "render/monitor_views.h"
#include "settings/saver_settings.h"
#include "wayland/wayland_picture.h"
#include "wayland/full_screen_surface.h"
#include "wayland/output_processes.h"
#include "wayland/seat_input.h"
#include "wayland/wayland_connection.h"

namespace {

// An output's process that lost the compositor ends with this, and the parent says so once
// for all of them.
const int compositorGone = 3;

struct WaylandHost {
    WaylandConnection& connection;
    FullScreenSurface window;
    SeatInput input;
};

WaylandHost& hostOf(void* self) { return *static_cast<WaylandHost*>(self); }

HostState stateOf(WaylandHost& host, bool connected) {
    if (!connected) return HostState::Lost;
    return host.input.ended || host.window.closed ? HostState::Ended : HostState::Running;
}

HostState readEvents(void* self) { return stateOf(hostOf(self), waitForEvents(hostOf(self).connection, 0)); }

// A frame once the compositor has asked for one: an unseen window is never asked, and
// costs nothing.
bool wantsFrame(void* self) { return !hostOf(self).window.frameCallback; }

HostState wait(void* self, int timeoutMs) {
    return stateOf(hostOf(self), waitForEvents(hostOf(self).connection, timeoutMs));
}

void size(void* self, int& width, int& height) {
    WaylandHost& host = hostOf(self);
    if (takeWantedSize(host.window)) forgetPointerPlace(host.input);
    width = host.window.width, height = host.window.height;
}

void present(void* self) { presentFrame(hostOf(self).window); }

// An output that shows nothing but black: one frame, then only the waits for the end.
int stayBlack(WaylandHost& host) {
    glClear(GL_COLOR_BUFFER_BIT);
    presentFrame(host.window);
    HostState state = readEvents(&host);
    while (state == HostState::Running && !endRequested()) state = wait(&host, -1);
    return state == HostState::Lost ? 1 : 0;
}

int runOnOutput(WaylandConnection& connection, const WaylandOutput* output, const FrameLoopOptions& loop,
                bool animated) {
    WaylandHost host{connection, {}, {}};
    listenToSeat(connection, host.input);
    std::string error;
    int status = 0;
    if (openFullScreenSurface(connection, output, host.window, error)) {
        const FrameHost frames = {&host, readEvents, wantsFrame, wait, size, present};
        status = (animated ? runFrameLoop(frames, loop) : stayBlack(host)) == 1 ? compositorGone : 0;
    } else if (!error.empty()) {
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        status = 1;
    }
    closeFullScreenSurface(host.window);
    stopListening(host.input);
    return status;
}

// What the output shows of the picture, or the logo.
void takeSnapshot(const WaylandPicture* picture, const ScreenArea& layout, const WaylandOutput* output) {
    if (!saverSettings.useOGL && !(picture && snapshotForOutput(*picture, layout, output)))
        saverSettings.useOGL = 1;
}

// Whether an output's scene moves: every output's but with the primary one alone, where
// that is the output at the layout's origin, else the first.
bool animates(const WaylandConnection& connection, size_t index) {
    if (monitorModeOf(saverSettings, nativeMonitorModeDefault) != PrimaryMonitorOnly) return true;
    for (size_t i = 0; i < connection.outputs.size(); ++i)
        if (connection.outputs[i].area.left == 0 && connection.outputs[i].area.top == 0) return i == index;
    return index == 0;
}

int statusOf(int outputStatus) {
    if (outputStatus != compositorGone) return outputStatus;
    std::fputs("quakeglass: the Wayland compositor went away\n", stderr);
    return 1;
}

int runOnCompositor(const FrameLoopOptions& loop, const PictureSources& sources, std::string* unreachable) {
    WaylandConnection connection;
    std::string error;
    if (!connectWayland(connection, error)) {
        disconnectWayland(connection);
        if (unreachable && !error.empty()) *unreachable = error;
        else if (!error.empty()) std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        return error.empty() ? 0 : 1;
    }
    // Before any window shows: the one picture of the whole desktop that every output's
    // process takes its part from.
    WaylandPicture picture;
    const WaylandPicture* pictured = takeWaylandPicture(connection, sources, picture) ? &picture : nullptr;
    const ScreenArea layout = desktopLayout(connection);
    const size_t outputCount = connection.outputs.size();
    if (outputCount <= 1) {
        const WaylandOutput* output = outputCount ? &connection.outputs[0] : nullptr;
        takeSnapshot(pictured, layout, output);
        const int status = runOnOutput(connection, output, loop, true);
        disconnectWayland(connection);
        return statusOf(status);
    }
    // Each output's process has a connection and an end watch of its own.
    disconnectWayland(connection);
    return statusOf(runProcessPerOutput(outputCount, [&](size_t index) {
        WaylandConnection own;
        if (!connectWayland(own, error)) {
            if (!error.empty()) std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
            return error.empty() ? 0 : 1;
        }
        const WaylandOutput* output = index < own.outputs.size() ? &own.outputs[index] : nullptr;
        takeSnapshot(pictured, layout, output);
        const int status = runOnOutput(own, output, loop, animates(own, index));
        disconnectWayland(own);
        return status;
    }));
}

}  // namespace

int runWaylandSaver(const FrameLoopOptions& loop, const PictureSources& sources, std::string* unreachable) {
    return runWithEndWatch([&] { return runOnCompositor(loop, sources, unreachable); });
}
