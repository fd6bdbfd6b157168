// The end watch, for both native hosts: a thread of its own that notices every end of a
// run at once (SIGTERM, SIGINT, SIGHUP, and what a host adds: on X11 the window's
// destruction, a key or a click), also in the middle of a slow start-up step or of a long
// frame. It wakes the main thread, and ends the process itself when the main thread has
// not ended a moment later. It also takes SIGUSR1, a lock screen's reset, for the frame
// loop to start its scenes afresh.
#pragma once

// Catches the end signals and starts the thread: the first thing of a run, before any
// step that can take long. Signals reach only the watch's thread from here on. False, with
// errno set and nothing changed, when the watch's pipes cannot be made.
bool startEndWatch();

// Something more for the watch to watch: whenever `fd` turns readable, `endsRun` reads
// what came and says whether the run ends; `close` lets go of it when the watch stops.
// Called once, from the main thread; false when the watch does not run.
bool watchForEndAlso(int fd, bool (*endsRun)(), void (*close)());

// Asks for the end; async-signal-safe, from any thread.
void requestEnd();
// The same, but the main thread may finish its frame however long it takes.
void requestEndAfterFrame();
bool endRequested();

// Asks for the scenes to start afresh at the next frame; async-signal-safe.
void requestRestart();
// Whether a restart was asked for since the last call.
bool takeRestartRequest();

// Readable from the moment an end is asked for: a wait polls it beside its connection.
int endWakeFd();

// The main thread has ended its run: the thread stops and is joined, signals are
// delivered as before. A forked process may start a watch of its own after that.
void stopEndWatch();
