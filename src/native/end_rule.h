// What ends a run in a window of the saver's own, the same on every native host: a key, a
// button, the wheel, a touch, or the pointer moved more than a few logical pixels from where
// it was first seen. Hosts hand their input over in this one form. Portable.
#pragma once

enum class InputKind {
    Key,
    Button,
    Wheel,
    Touch,
    PointerEntered,  // the pointer is seen at (x, y): where it arrives is no move
    PointerMoved,    // the pointer is at (x, y)
    PointerLeft,     // the window no longer sees it, or moved under it
};

struct InputEvent {
    InputKind kind;
    double x = 0, y = 0;  // logical pixels, for the pointer
};

struct EndRule {
    bool pointerSeen = false;
    double firstX = 0, firstY = 0;
};

// How far the pointer may wander before it counts as a move: the X11 screen-saver
// daemon's own pointer hysteresis.
const double pointerHysteresis = 10;

// Whether the event ends the run; remembers where the pointer was first seen.
bool endsRun(EndRule& rule, const InputEvent& event);
