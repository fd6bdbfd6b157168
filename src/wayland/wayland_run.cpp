#include "wayland/wayland_run.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <list>
#include <utility>
#include <vector>

#include "native/end_watch.h"
#include "native/frame_loop.h"
#include "native/native_run.h"
#include "render/frame_pacing.h"
#include "render/monitor_views.h"
#include "render/other_scenes.h"
#include "settings/saver_settings.h"
#include "wayland/full_screen_surface.h"
#include "wayland/seat_input.h"
#include "wayland/wayland_connection.h"
#include "wayland/wayland_gl.h"
#include "wayland/wayland_picture.h"

namespace {

struct OutputWindow {
    const WaylandOutput* output = nullptr;  // null: where the compositor put it
    FullScreenSurface surface;
    int scene = -1;      // 0: the first scene, k: otherScenes[k - 1]; -1: black
    bool shown = false;  // a black window is drawn once
    FramePacer pacer;    // each output at the -delay rate, whenever the others' frames come
};

// Every output's window, drawn by one process with one context: the scenes stay in step,
// and one scene can run on from one output into the next.
struct WaylandHost {
    explicit WaylandHost(WaylandConnection& connected) : connection(connected) {}
    WaylandConnection& connection;
    WaylandGl gl;
    SeatInput input;
    std::list<OutputWindow> windows;
    MonitorMode mode = EachMonitor;
    const WaylandPicture* picture = nullptr;  // null: the logo
    ScreenArea pictureLayout{};               // what grim's picture shows
    std::vector<bool> scenesTaken;            // otherScenes that a window shows
    std::vector<const WaylandOutput*> refused;  // outputs plugged in that would take no window
    bool looping = false;                     // scenes are prepared as their windows come
    uint32_t delayUs = 0;                     // -delay, for each window's own pacing
    OutputWindow* selected = nullptr;
};

WaylandHost& hostOf(void* self) { return *static_cast<WaylandHost*>(self); }

// The output at the layout's origin, else the first.
const WaylandOutput* primaryOutput(const WaylandConnection& connection) {
    for (const WaylandOutput& output : connection.outputs)
        if (!output.gone && output.area.left == 0 && output.area.top == 0) return &output;
    return connection.outputs.empty() ? nullptr : &connection.outputs.front();
}

// Into desktopSnapshot, what the scene shows of the picture: false for the logo.
bool takeSnapshot(const WaylandHost& host, const ScreenArea* area) {
    return host.picture && snapshotForArea(*host.picture, host.pictureLayout, area);
}

int freeSceneSlot(WaylandHost& host) {
    for (size_t k = 0; k < host.scenesTaken.size(); ++k)
        if (!host.scenesTaken[k]) return int(k) + 1;
    otherScenes.emplace_back();
    host.scenesTaken.push_back(false);
    return int(otherScenes.size());
}

// What a new window shows: the one scene, the output's own, or black; with the snapshot
// its scene takes its texture from.
void chooseScene(WaylandHost& host, OutputWindow& window) {
    const ScreenArea* area = window.output ? &window.output->area : nullptr;
    const bool firstAtStart = !host.looping && host.windows.size() == 1;
    const bool pictured = !saverSettings.useOGL;
    if (host.mode == SpanMonitors) {
        window.scene = 0;
        const ScreenArea layout = desktopLayout(host.connection);
        if (firstAtStart && pictured) takeSnapshot(host, layout.width > 0 ? &layout : area);
    } else if (host.mode == PrimaryMonitorOnly) {
        window.scene = !host.looping && window.output == primaryOutput(host.connection) ? 0 : -1;
        if (window.scene == 0 && pictured) takeSnapshot(host, area);
    } else if (firstAtStart) {
        window.scene = 0;
        if (pictured) takeSnapshot(host, area);
    } else {
        window.scene = freeSceneSlot(host);
        host.scenesTaken[size_t(window.scene) - 1] = true;
        SceneState& scene = otherScenes[size_t(window.scene) - 1];
        std::swap(desktopSnapshot, scene.snapshot);
        if (pictured) takeSnapshot(host, area);
        std::swap(desktopSnapshot, scene.snapshot);
        if (host.looping) prepareOtherScene(scene);
    }
}

// A window on the output, full screen; false, with the message (none when the end came
// first), when it cannot be had.
bool openWindow(WaylandHost& host, const WaylandOutput* output, std::string& error) {
    OutputWindow& window = host.windows.emplace_back();
    window.output = output;
    window.pacer.delayUs = host.delayUs;
    if (!openFullScreenSurface(host.connection, host.gl, output, window.surface, error)) {
        closeFullScreenSurface(host.gl, window.surface);
        host.windows.pop_back();
        return false;
    }
    chooseScene(host, window);
    return true;
}

// A window's scene goes with it; after the frame loop, which let them all go, none is left.
void closeWindow(WaylandHost& host, std::list<OutputWindow>::iterator window) {
    if (window->scene > 0 && size_t(window->scene) <= otherScenes.size()) {
        makeCurrent(host.gl, window->surface);  // the texture goes with the context current
        releaseScene(otherScenes[size_t(window->scene) - 1]);
        host.scenesTaken[size_t(window->scene) - 1] = false;
    }
    closeFullScreenSurface(host.gl, window->surface);
    if (host.selected == &*window) host.selected = nullptr;
    host.windows.erase(window);
}

bool covered(const WaylandHost& host, const WaylandOutput& output) {
    for (const OutputWindow& window : host.windows)
        if (window.output == &output) return true;
    return std::find(host.refused.begin(), host.refused.end(), &output) != host.refused.end();
}

// An output unplugged takes its window with it; one plugged in gets one. False when the
// compositor went away meanwhile.
bool followOutputs(WaylandHost& host) {
    for (auto window = host.windows.begin(); window != host.windows.end();) {
        const auto next = std::next(window);
        if (window->output && window->output->gone) closeWindow(host, window);
        window = next;
    }
    for (auto output = host.connection.outputs.begin(); output != host.connection.outputs.end();) {
        const auto next = std::next(output);
        if (output->gone) {
            host.refused.erase(std::remove(host.refused.begin(), host.refused.end(), &*output), host.refused.end());
            forgetOutput(host.connection, *output);
        }
        output = next;
    }
    for (const WaylandOutput& output : host.connection.outputs) {
        if (output.gone || !output.ready || covered(host, output)) continue;
        std::string error;
        if (openWindow(host, &output, error)) continue;
        if (wl_display_get_error(host.connection.display)) return false;
        // Said once: the others run on, and the output is not asked again.
        if (!error.empty()) std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        host.refused.push_back(&output);
    }
    return true;
}

HostState stateOf(WaylandHost& host, bool connected) {
    if (connected && host.looping) connected = followOutputs(host);
    if (!connected) return HostState::Lost;
    if (host.input.ended) return HostState::Ended;
    for (const OutputWindow& window : host.windows)
        if (window.surface.closed) return HostState::Ended;
    return HostState::Running;
}

HostState readEvents(void* self) { return stateOf(hostOf(self), waitForEvents(hostOf(self).connection, 0)); }

HostState wait(void* self, int timeoutMs) {
    return stateOf(hostOf(self), waitForEvents(hostOf(self).connection, timeoutMs));
}

// Milliseconds until the window takes a frame, -1: not asked. A scene's window takes one
// where the compositor has asked for it and its -delay has passed: an unseen window is
// never asked, and costs nothing. A black window takes one frame.
int frameWaitMs(const OutputWindow& window, int64_t nowUs) {
    if (window.scene < 0) return window.shown ? -1 : 0;
    return window.surface.frameCallback ? -1 : frameWaitMs(window.pacer, nowUs);
}

int frameWaitMs(void* self, int64_t nowUs) {
    int soonest = -1;
    for (const OutputWindow& window : hostOf(self).windows) {
        const int waitMs = frameWaitMs(window, nowUs);
        if (waitMs >= 0 && (soonest < 0 || waitMs < soonest)) soonest = waitMs;
    }
    return soonest;
}

void size(void* self, int& width, int& height) {
    const WaylandHost& host = hostOf(self);
    width = host.windows.empty() ? 1 : host.windows.front().surface.width;
    height = host.windows.empty() ? 1 : host.windows.front().surface.height;
}

size_t drawableCount(void* self) { return hostOf(self).windows.size(); }

DrawableFrame selectDrawable(void* self, size_t index) {
    WaylandHost& host = hostOf(self);
    OutputWindow& window = *std::next(host.windows.begin(), long(index));
    FullScreenSurface& surface = window.surface;
    if (takeWantedSize(surface)) forgetPointerPlace(host.input);
    DrawableFrame frame;
    const int64_t now = frameClockUs();
    frame.drawn = frameWaitMs(window, now) == 0;
    frame.width = surface.width, frame.height = surface.height;
    frame.scene = window.scene;
    frame.view = {0, 0, surface.width, surface.height};
    if (host.mode == SpanMonitors && window.output)
        frame.view = spanSlice(desktopLayout(host.connection), window.output->area, surface.width, surface.height);
    if (frame.drawn) makeCurrent(host.gl, surface), window.shown = true, startFrame(window.pacer, now);
    host.selected = &window;
    return frame;
}

void present(void* self) {
    WaylandHost& host = hostOf(self);
    if (host.selected) presentFrame(host.gl, host.selected->surface);
}

// Opens a window on every output there is, then draws them all until the end.
int runOnOutputs(WaylandHost& host, const FrameLoopOptions& loop) {
    std::string error;
    if (!openWaylandGl(host.connection.display, host.gl, error)) {
        if (compositorWentAway(host.connection)) error = "the Wayland compositor went away";
        std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
        return 1;
    }
    listenToSeat(host.connection, host.input);
    bool opened = true;
    if (host.connection.outputs.empty()) opened = openWindow(host, nullptr, error);
    for (const WaylandOutput& output : host.connection.outputs)
        if (opened) opened = openWindow(host, &output, error);
    int status = error.empty() ? 0 : 1;
    if (!error.empty()) std::fprintf(stderr, "quakeglass: %s\n", error.c_str());
    if (opened && !host.windows.empty()) {
        makeCurrent(host.gl, host.windows.front().surface);
        host.looping = true;
        FrameHost frames = {&host, readEvents, nullptr, wait, size, present};
        frames.frameWaitMs = frameWaitMs, frames.drawableCount = drawableCount, frames.selectDrawable = selectDrawable;
        status = runFrameLoop(frames, loop);
        if (status == 1) std::fputs("quakeglass: the Wayland compositor went away\n", stderr);
    }
    // A run that never reached the frame loop still holds the scenes of its first windows.
    releaseOtherScenes();
    while (!host.windows.empty()) closeWindow(host, host.windows.begin());
    stopListening(host.input);
    closeWaylandGl(host.gl);
    return status;
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
    // scene takes its part from.
    WaylandPicture picture;
    WaylandHost host(connection);
    host.mode = monitorModeOf(saverSettings, nativeMonitorModeDefault);
    host.delayUs = loop.delayUs;
    if (!saverSettings.useOGL && takeWaylandPicture(connection, sources, picture)) host.picture = &picture;
    if (!host.picture) saverSettings.useOGL = 1;
    host.pictureLayout = desktopLayout(connection);
    const int status = runOnOutputs(host, loop);
    disconnectWayland(connection);
    return status;
}

}  // namespace

int runWaylandSaver(const FrameLoopOptions& loop, const PictureSources& sources, std::string* unreachable) {
    return runWithEndWatch([&] { return runOnCompositor(loop, sources, unreachable); });
}
