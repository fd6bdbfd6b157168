// What the end watch (native/end_watch.h) watches on X11: the window drawn in, on a
// display connection of the watch's own: its destruction, and for an own window the input
// that ends a run (native/end_rule.h).
#pragma once
#include <X11/Xlib.h>

#include "native/end_rule.h"

// The input an own window selects to see what ends a run.
const long endingInputMask = KeyPressMask | ButtonPressMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

// The end rule's form of an X event; false for an event that is no input.
bool inputEventOf(const XEvent& event, InputEvent& input);

// Watches `window` on a connection opened as the run opened its own (`displayName`); for
// an own window the main connection then must not select keys and clicks (a click goes to
// one client only). False when it cannot: the main thread then sees these between frames.
bool watchWindowForEnd(const char* displayName, Window window, bool ownWindow);
