#include "wayland/wayland_connection.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "native/end_watch.h"
#include "native/posix_wait.h"
#include "viewporter-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

// How long the compositor may take to answer the start's questions: one that accepts the
// connection and never answers does not hold the saver up.
const int answerDeadlineMs = 5000;

// libwayland's own complaints, kept for the one line that says what failed instead of
// being printed before it.
std::string lastLibraryMessage;
void onLibraryMessage(const char* format, va_list arguments) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, arguments);
    lastLibraryMessage = text;
    while (!lastLibraryMessage.empty() && (lastLibraryMessage.back() == '\n' || lastLibraryMessage.back() == '.'))
        lastLibraryMessage.pop_back();
}

int64_t monotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void onSyncDone(void* data, wl_callback* callback, uint32_t) {
    wl_callback_destroy(callback);
    *static_cast<bool*>(data) = true;
}
const wl_callback_listener syncListener = {onSyncDone};

void onPing(void*, xdg_wm_base* wmBase, uint32_t serial) { xdg_wm_base_pong(wmBase, serial); }
const xdg_wm_base_listener wmBaseListener = {onPing};

// Without xdg-output: the place from wl_output, the size from its mode and scale.
void onGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
                int32_t) {
    auto* output = static_cast<WaylandOutput*>(data);
    if (!output->xdgOutput) output->area.left = x, output->area.top = y;
}
void onMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    auto* output = static_cast<WaylandOutput*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) output->modeWidth = width, output->modeHeight = height;
}
void onScale(void* data, wl_output*, int32_t factor) {
    auto* output = static_cast<WaylandOutput*>(data);
    if (factor > 0) output->scale = factor;
}
// An output that comes while the saver runs is ready once its logical place has come too:
// xdg-output's events follow the output's first done.
void onOutputDone(void* data, wl_output*) {
    auto* output = static_cast<WaylandOutput*>(data);
    if (!output->xdgOutput)
        output->area.width = output->modeWidth / output->scale, output->area.height = output->modeHeight / output->scale;
    if (!output->xdgOutput || output->placed) output->ready = true;
}
const wl_output_listener outputListener = {onGeometry, onMode, onOutputDone, onScale, nullptr, nullptr};

void onLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->area.left = x, output->area.top = y;
}
void onLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->area.width = width, output->area.height = height;
    output->placed = true;
}
void onXdgOutputDone(void* data, zxdg_output_v1*) { static_cast<WaylandOutput*>(data)->ready = true; }
void onXdgOutputText(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener xdgOutputListener = {onLogicalPosition, onLogicalSize, onXdgOutputDone,
                                                   onXdgOutputText, onXdgOutputText};

template <typename T>
T* bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

void watchPlace(WaylandConnection& connection, WaylandOutput& output) {
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(connection.outputManager, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &xdgOutputListener, &output);
}

void addOutput(WaylandConnection& connection, uint32_t name, uint32_t version) {
    WaylandOutput& output = connection.outputs.emplace_back();
    output.name = name;
    output.output = bind<wl_output>(connection.registry, name, &wl_output_interface, version, 2);
    wl_output_add_listener(output.output, &outputListener, &output);
    if (version < 2) output.ready = true;  // no done to wait for
    if (!connection.listing && connection.outputManager) watchPlace(connection, output);
}

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto* connection = static_cast<WaylandConnection*>(data);
    if (std::strcmp(interface, wl_output_interface.name) == 0) return addOutput(*connection, name, version);
    if (!connection->listing) return;
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        connection->compositor = bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        connection->wmBase = bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, 1);
        xdg_wm_base_add_listener(connection->wmBase, &wmBaseListener, nullptr);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !connection->seatName) {
        connection->seatName = name, connection->seatVersion = std::min(version, 5u);
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        connection->outputManager =
            bind<zxdg_output_manager_v1>(registry, name, &zxdg_output_manager_v1_interface, version, 3);
    } else if (std::strcmp(interface, wp_viewporter_interface.name) == 0) {
        connection->viewporter = bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
    }
}
void onGlobalRemove(void* data, wl_registry*, uint32_t name) {
    for (WaylandOutput& output : static_cast<WaylandConnection*>(data)->outputs)
        if (output.name == name) output.gone = true;
}
const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

}  // namespace

bool connectWayland(WaylandConnection& connection, std::string& error) {
    wl_log_set_handler_client(onLibraryMessage);
    lastLibraryMessage.clear();
    connection.display = wl_display_connect(nullptr);
    if (!connection.display) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        error = std::string("cannot connect to the Wayland compositor '") + (name ? name : "wayland-0") + "'" +
                (lastLibraryMessage.empty() ? "" : ": " + lastLibraryMessage);
        return false;
    }
    connection.registry = wl_display_get_registry(connection.display);
    connection.listing = true;
    wl_registry_add_listener(connection.registry, &registryListener, &connection);
    Answer answer = awaitAnswer(connection, answerDeadlineMs);
    if (answer == Answer::Given && connection.outputManager) {
        for (WaylandOutput& output : connection.outputs) watchPlace(connection, output);
        answer = awaitAnswer(connection, answerDeadlineMs);
    }
    connection.listing = false;
    for (WaylandOutput& output : connection.outputs) output.ready = true;
    if (answer != Answer::Given) {
        if (answer != Answer::Ended)
            error = answer == Answer::Lost ? "the Wayland compositor went away"
                                           : "the Wayland compositor does not answer (5 s)";
        return false;
    }
    if (!connection.compositor || !connection.wmBase) {
        error = "the Wayland compositor offers no xdg-shell window to draw in";
        return false;
    }
    return true;
}

Answer awaitAnswer(WaylandConnection& connection, int timeoutMs) {
    bool answered = false;
    wl_callback* sync = wl_display_sync(connection.display);
    wl_callback_add_listener(sync, &syncListener, &answered);
    const int64_t deadline = monotonicMs() + timeoutMs;
    Answer answer = Answer::Given;
    while (!answered && answer == Answer::Given) {
        const int64_t left = deadline - monotonicMs();
        if (endRequested()) answer = Answer::Ended;
        else if (left <= 0) answer = Answer::Silent;
        else if (!waitForEvents(connection, int(left))) answer = Answer::Lost;
    }
    if (!answered) wl_callback_destroy(sync);  // its answer, if it ever comes, has nobody to tell
    return answer;
}

bool compositorWentAway(WaylandConnection& connection) {
    return wl_display_get_error(connection.display) || awaitAnswer(connection, 1000) == Answer::Lost;
}

static void destroyOutput(const WaylandOutput& output) {
    if (output.xdgOutput) zxdg_output_v1_destroy(output.xdgOutput);
    if (output.output) wl_output_destroy(output.output);
}

void forgetOutput(WaylandConnection& connection, const WaylandOutput& output) {
    destroyOutput(output);
    connection.outputs.remove_if([&](const WaylandOutput& each) { return &each == &output; });
}

// The disconnection frees no proxy: each goes first.
void disconnectWayland(WaylandConnection& connection) {
    for (const WaylandOutput& output : connection.outputs) destroyOutput(output);
    if (connection.viewporter) wp_viewporter_destroy(connection.viewporter);
    if (connection.outputManager) zxdg_output_manager_v1_destroy(connection.outputManager);
    if (connection.wmBase) xdg_wm_base_destroy(connection.wmBase);
    if (connection.compositor) wl_compositor_destroy(connection.compositor);
    if (connection.registry) wl_registry_destroy(connection.registry);
    if (connection.display) wl_display_disconnect(connection.display);
    connection = WaylandConnection();
}

bool waitForEvents(WaylandConnection& connection, int timeoutMs) {
    wl_display* display = connection.display;
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0) return false;
    // A full socket (the compositor is slow to read) waits for room as well as for events.
    const bool unsent = wl_display_flush(display) < 0;
    if (unsent && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    const short ready = waitForFd(wl_display_get_fd(display), short(POLLIN | (unsent ? POLLOUT : 0)), timeoutMs);
    if (ready & POLLIN) {
        if (wl_display_read_events(display) < 0) return false;
    } else {
        wl_display_cancel_read(display);
        // Hung up with nothing left to read: the compositor has gone.
        if (ready & (POLLHUP | POLLERR)) return false;
    }
    return wl_display_dispatch_pending(display) >= 0;
}

ScreenArea desktopLayout(const WaylandConnection& connection) {
    if (connection.outputs.empty()) return {0, 0, 0, 0};
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (const WaylandOutput& output : connection.outputs) {
        if (output.gone || output.area.width <= 0 || output.area.height <= 0) continue;
        left = std::min(left, output.area.left), top = std::min(top, output.area.top);
        right = std::max(right, output.area.left + output.area.width);
        bottom = std::max(bottom, output.area.top + output.area.height);
    }
    if (left > right) return {0, 0, 0, 0};
    return {left, top, right - left, bottom - top};
}
