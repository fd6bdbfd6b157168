// The native saver's connection to a Wayland compositor: the globals it binds (compositor,
// xdg-shell, the seat) and every output with the part of the desktop it shows, then the
// wait for events that every loop of the host uses. Main thread.
#pragma once
#include <wayland-client.h>

#include <list>
#include <string>

#include "capture/desktop_snapshot.h"

struct xdg_wm_base;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct wp_viewporter;

struct WaylandOutput {
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    ScreenArea area = {0, 0, 0, 0};  // in the desktop's layout, logical pixels
    int32_t scale = 1;
    int32_t modeWidth = 0, modeHeight = 0;  // pixels
    uint32_t name = 0;                      // the compositor's name of the global
    bool placed = false;                    // the logical place has come from xdg-output
    bool ready = false;                     // its place and size are known
    bool gone = false;                      // unplugged: its window goes, then the output
};

struct WaylandConnection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    xdg_wm_base* wmBase = nullptr;
    uint32_t seatName = 0, seatVersion = 0;  // bound by whoever listens to it, so no event is lost
    zxdg_output_manager_v1* outputManager = nullptr;
    wp_viewporter* viewporter = nullptr;  // where there is one: buffers of any scale
    std::list<WaylandOutput> outputs;     // as they come and go while the saver runs
    bool listing = false;                 // while the start's globals are read
};

// Connects to $WAYLAND_DISPLAY and reads the globals and the outputs' places. False, with
// a one-line message, when there is no compositor, it does not answer within seconds or it
// offers no xdg-shell; false with no message when the end was asked for meanwhile.
bool connectWayland(WaylandConnection& connection, std::string& error);

enum class Answer { Given, Silent, Lost, Ended };

// Waits until the compositor has answered every request sent so far, at most `timeoutMs`.
Answer awaitAnswer(WaylandConnection& connection, int timeoutMs);

// Whether the compositor has gone. EGL fails when the connection does and says nothing of
// it; a compositor that ended before a request of ours failed is found by asking once more.
bool compositorWentAway(WaylandConnection& connection);

void disconnectWayland(WaylandConnection& connection);

// Lets an output that has gone go, once nothing refers to it.
void forgetOutput(WaylandConnection& connection, const WaylandOutput& output);

// Handles the events that have come, waiting for them up to timeoutMs (-1: no limit)
// unless the end is asked. False when the connection is lost.
bool waitForEvents(WaylandConnection& connection, int timeoutMs);

// The rectangle that holds every output: what a screenshot of the whole desktop shows.
ScreenArea desktopLayout(const WaylandConnection& connection);
