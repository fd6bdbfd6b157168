// The end watch: a thread of its own that notices every end of a run at once (SIGTERM,
// SIGINT, SIGHUP, a key or a click in an own window, the window's destruction), also in
// the middle of a slow start-up step or of a long frame. It wakes the main thread, and
// ends the process itself when the main thread has not ended a moment later.
#pragma once
#include <X11/Xlib.h>

// Catches the end signals and starts the thread: the first thing of a run, before any
// step that can take long. Signals reach only the watch's thread from here on.
void startEndWatch();

// Watches `window` on a display connection of the watch's own (`displayName` as the run
// opened it): its destruction, and for an own window a key or a click, which the main
// connection then must not select (a click goes to one client only). False when it
// cannot: the main thread then sees these between frames.
bool watchWindowForEnd(const char* displayName, Window window, bool ownWindow);

// Asks for the end; async-signal-safe, from any thread.
void requestEnd();
// The same, but the main thread may finish its frame however long it takes.
void requestEndAfterFrame();
bool endRequested();

// Readable from the moment an end is asked for: a wait polls it beside the X connection.
int endWakeFd();

// The main thread has ended its run: the thread stops and is joined, signals are
// delivered as before.
void stopEndWatch();
