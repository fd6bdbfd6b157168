#include "wayland/seat_input.h"

#include <unistd.h>

namespace {

SeatInput& inputOf(void* data) { return *static_cast<SeatInput*>(data); }

void handOver(void* data, InputKind kind, wl_fixed_t x = 0, wl_fixed_t y = 0) {
    SeatInput& input = inputOf(data);
    if (endsRun(input.rule, {kind, wl_fixed_to_double(x), wl_fixed_to_double(y)})) input.ended = true;
}

void onKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }
void onKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}  // keys held before: not pressed now
void onKeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void onKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) handOver(data, InputKind::Key);
}
void onModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener keyboardListener = {onKeymap, onKeyboardEnter, onKeyboardLeave,
                                               onKey,    onModifiers,     onRepeatInfo};

void onPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t x, wl_fixed_t y) {
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);  // no pointer over the saver
    handOver(data, InputKind::PointerEntered, x, y);
}
void onPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) { handOver(data, InputKind::PointerLeft); }
void onMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    handOver(data, InputKind::PointerMoved, x, y);
}
void onButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) handOver(data, InputKind::Button);
}
void onAxis(void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) { handOver(data, InputKind::Wheel); }
void onFrame(void*, wl_pointer*) {}
void onAxisSource(void*, wl_pointer*, uint32_t) {}
void onAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void onAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
const wl_pointer_listener pointerListener = {onPointerEnter, onPointerLeave, onMotion,     onButton,      onAxis,
                                             onFrame,        onAxisSource,   onAxisStop,   onAxisDiscrete, nullptr};

void onTouchDown(void* data, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t, wl_fixed_t) {
    handOver(data, InputKind::Touch);
}
void onTouchUp(void*, wl_touch*, uint32_t, uint32_t, int32_t) {}
void onTouchMotion(void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {}
void onTouchFrame(void*, wl_touch*) {}
void onTouchCancel(void*, wl_touch*) {}
const wl_touch_listener touchListener = {onTouchDown,  onTouchUp, onTouchMotion,
                                         onTouchFrame, onTouchCancel, nullptr, nullptr};  // up to version 5

// A device's release request, on a seat new enough to have one (version 3 for all three).
template <typename Device>
void release(Device*& device, void (*releaseRequest)(Device*), void (*destroy)(Device*)) {
    if (device && wl_proxy_get_version(reinterpret_cast<wl_proxy*>(device)) >= WL_POINTER_RELEASE_SINCE_VERSION)
        releaseRequest(device);
    else if (device)
        destroy(device);
    device = nullptr;
}
void release(wl_keyboard*& keyboard) { release(keyboard, wl_keyboard_release, wl_keyboard_destroy); }
void release(wl_pointer*& pointer) { release(pointer, wl_pointer_release, wl_pointer_destroy); }
void release(wl_touch*& touch) { release(touch, wl_touch_release, wl_touch_destroy); }

void onCapabilities(void* data, wl_seat* seat, uint32_t capabilities) {
    SeatInput& input = inputOf(data);
    const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD, pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    const bool touch = capabilities & WL_SEAT_CAPABILITY_TOUCH;
    if (keyboard && !input.keyboard) {
        input.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(input.keyboard, &keyboardListener, &input);
    }
    if (pointer && !input.pointer) {
        input.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(input.pointer, &pointerListener, &input);
    }
    if (touch && !input.touch) {
        input.touch = wl_seat_get_touch(seat);
        wl_touch_add_listener(input.touch, &touchListener, &input);
    }
    if (!keyboard) release(input.keyboard);
    if (!touch) release(input.touch);
    if (!pointer) release(input.pointer), endsRun(input.rule, {InputKind::PointerLeft});
}
void onSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener seatListener = {onCapabilities, onSeatName};

}  // namespace

void listenToSeat(WaylandConnection& connection, SeatInput& input) {
    if (!connection.seatName) return;
    input.seat = static_cast<wl_seat*>(
        wl_registry_bind(connection.registry, connection.seatName, &wl_seat_interface, connection.seatVersion));
    wl_seat_add_listener(input.seat, &seatListener, &input);
}

void forgetPointerPlace(SeatInput& input) { endsRun(input.rule, {InputKind::PointerLeft}); }

void stopListening(SeatInput& input) {
    release(input.keyboard);
    release(input.pointer);
    release(input.touch);
    if (input.seat && wl_seat_get_version(input.seat) >= WL_SEAT_RELEASE_SINCE_VERSION) wl_seat_release(input.seat);
    else if (input.seat) wl_seat_destroy(input.seat);
    input.seat = nullptr;
}
