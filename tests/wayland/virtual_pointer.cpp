// A pointer for the Wayland scenarios, where the headless compositor has none: a virtual
// pointer device that lives while this program runs. Reads commands from stdin, one a
// line: "move DX DY" (relative, in logical pixels) and "click"; prints "ready" once the
// device exists and "done" after each command has reached the compositor.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "virtual-pointer-client-protocol.h"

static wl_seat* seat;
static zwlr_virtual_pointer_manager_v1* manager;

static void onGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0)
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
static void onGlobalRemove(void*, wl_registry*, uint32_t) {}
static const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return 1;
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager) return 1;
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);
    char line[128];
    uint32_t time = 1;
    while (std::fgets(line, sizeof line, stdin)) {
        double dx, dy;
        if (std::sscanf(line, "move %lf %lf", &dx, &dy) == 2) {
            zwlr_virtual_pointer_v1_motion(pointer, time++, wl_fixed_from_double(dx), wl_fixed_from_double(dy));
            zwlr_virtual_pointer_v1_frame(pointer);
        } else if (std::strncmp(line, "click", 5) == 0) {
            for (uint32_t state : {1u, 0u}) {
                zwlr_virtual_pointer_v1_button(pointer, time++, 0x110 /* BTN_LEFT */, state);
                zwlr_virtual_pointer_v1_frame(pointer);
            }
        }
        wl_display_roundtrip(display);
        std::printf("done\n");
        std::fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
