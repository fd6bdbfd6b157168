// The seat's input on Wayland, handed to the end rule (native/end_rule.h): a key, a button,
// a scroll, a touch, or the pointer moved (where the pointer stands when the window appears
// under it, and a window that moves under a still pointer, are no moves of the user's).
// Also hides the pointer over the window. Main thread.
#pragma once
#include <wayland-client.h>

#include "native/end_rule.h"
#include "wayland/wayland_connection.h"

struct SeatInput {
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    wl_touch* touch = nullptr;
    EndRule rule;
    bool ended = false;  // the user moved
};

// Listens to the seat's keyboard and pointer, as the seat gains and loses them.
void listenToSeat(WaylandConnection& connection, SeatInput& input);

// Forgets where the pointer stands: after the window changed size, the next place given
// for it is where it now is, not a move.
void forgetPointerPlace(SeatInput& input);

void stopListening(SeatInput& input);
